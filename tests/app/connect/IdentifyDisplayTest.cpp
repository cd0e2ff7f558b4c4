// Finding a display on the fake line, on a virtual clock.
#include "app/connect/IdentifyDisplay.h"

#include "tests/app/RecordingOperator.h"
#include "tests/protocol/ConnectionFixture.h"

#include <algorithm>

namespace tavisto::testing {
namespace {

class IdentifyDisplayTest : public ConnectionTest {
protected:
    std::ptrdiff_t versionQueries() const {
        const auto frames = display->receivedFrames();
        return std::count(frames.begin(), frames.end(), wire("02 07 16 02"));
    }

    RecordingOperator op;
};

TEST_F(IdentifyDisplayTest, AMissedVersionAnswerIsAskedForAgainUnlessOnceIsAsked) {
    // A KT350-MK at 9600 baud that answers the model but not the first two version
    // queries.
    displayAt(9600, 5, [](sim::Faults& f) { f.lostReplies = {1, 2}; });
    TDisplayIdentity found = IdentifyDisplay(connection, op, TIdentifyRequest{});
    ASSERT_TRUE(found.found());
    EXPECT_EQ(std::string(found.model->name), "KT350-MK");
    EXPECT_EQ(found.baudRate, 9600);
    EXPECT_EQ(found.firmwareVersion, 14u);
    EXPECT_EQ(versionQueries(), 3);

    displayAt(9600, 5, [](sim::Faults& f) { f.lostReplies = {1}; });
    TIdentifyRequest once;
    once.versionAttempts = 1;
    found = IdentifyDisplay(connection, op, once);
    EXPECT_EQ(found.firmwareVersion, std::nullopt);
    EXPECT_EQ(found.versionCause, "Read Version Error !");
    EXPECT_EQ(versionQueries(), 1);
}

TEST_F(IdentifyDisplayTest, APortThatDoesNotOpenIsToldApartAndNothingIsSent) {
    connection.CurrentPortName = "/dev/ttyUSB9";
    const TDisplayIdentity found = IdentifyDisplay(connection, op, TIdentifyRequest{});
    EXPECT_EQ(found.failure, TIdentifyFailure::PortNotOpened);
    EXPECT_EQ(found.cause, " Error opening serial port!");
    EXPECT_TRUE(line.writes().empty());
}

} // namespace
} // namespace tavisto::testing
