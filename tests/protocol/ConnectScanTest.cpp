#include "ConnectionFixture.h"
#include "protocol/Discovery.h"

namespace tavisto::testing {
namespace {

class Scan : public ConnectionTest {
protected:
    std::vector<int> openedSpeeds() const {
        std::vector<int> speeds;
        for (const auto& event : line.events()) {
            if (event.kind == kOpen)
                speeds.push_back(event.baudRate);
        }
        return speeds;
    }
};

TEST_F(Scan, TriesEverySpeedInOrderWithPausesWhenNothingAnswers) {
    const ScanResult result = ScanForDisplay(connection);
    EXPECT_EQ(result.model, -1);
    EXPECT_EQ(result.baudRate, 115200);
    EXPECT_EQ(connection.CurrentBaudRate, 115200);
    EXPECT_EQ(result.message, "Not found Device : Time out !");
    EXPECT_EQ(openedSpeeds(), (std::vector<int>{9600, 19200, 38400, 57600, 115200}));
    // Each attempt: query, 100 ms, 86.4 ms window, close, then a 100 ms pause.
    const auto& events = line.events();
    for (std::size_t attempt = 1; attempt < 5; ++attempt) {
        const Micros previousClose = events[3 * attempt - 1].at;
        EXPECT_EQ(events[3 * attempt].at - previousClose, 100ms);
    }
    EXPECT_GT(clock.elapsed(), 5 * (100ms + 86400us + 100ms));
    EXPECT_LE(clock.elapsed(), 5 * (100ms + 88ms + 100ms));
}

TEST_F(Scan, KeepsTheLastAttemptsMessage) {
    displayAt(115200, 5, [](sim::Faults& f) { f.modelReply = Bytes("KT999") + '\0'; });
    ScanResult result = ScanForDisplay(connection);
    EXPECT_EQ(result.model, -1);
    EXPECT_EQ(result.message, "Unknown model !");

    connection.CurrentPortName = "/dev/ttyUSB9";
    result = ScanForDisplay(connection);
    EXPECT_EQ(result.model, -1);
    EXPECT_EQ(result.baudRate, 115200);
    EXPECT_EQ(result.message, " Error opening serial port!");
}

// Finding the display at each of the five speeds is tested on the virtual display.
TEST_F(Scan, StopsAtTheFirstSpeedThatAnswers) {
    displayAt(38400, 6);
    std::vector<int> attempts;
    const ScanResult result =
        ScanForDisplay(connection, [&](int baudRate) { attempts.push_back(baudRate); });
    EXPECT_EQ(result.model, 6);
    EXPECT_EQ(result.baudRate, 38400);
    EXPECT_EQ(connection.CurrentBaudRate, 38400);
    EXPECT_EQ(attempts, (std::vector<int>{9600, 19200, 38400}));
    EXPECT_EQ(openedSpeeds(), attempts);
    EXPECT_EQ(line.writes().size(), 3u);
    EXPECT_FALSE(line.isOpen());
}

} // namespace
} // namespace tavisto::testing
