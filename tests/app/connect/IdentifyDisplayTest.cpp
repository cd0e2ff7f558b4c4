// Finding a display on a scripted line, on a virtual clock.
#include "app/connect/IdentifyDisplay.h"

#include "tests/app/RecordingOperator.h"
#include "tests/protocol/ProtocolFixture.h"

namespace tavisto::testing {
namespace {

class IdentifyDisplayTest : public ProtocolTest {
protected:
    // A KT350-MK at 9600 baud that misses its first `missed` version answers.
    void displayMissingVersionAnswers(int missed) {
        line.onWrite = [this, missed](const Bytes& written) {
            if (written == wire("02 07 16 01"))
                line.arrive(Bytes("KT350-MK") + '\0', 15ms);
            if (written == wire("02 07 16 02") && ++versionQueries > missed)
                line.arrive(Bytes("\x00\x0E", 2), 15ms);
        };
    }

    int versionQueries = 0;
    RecordingOperator op;
};

TEST_F(IdentifyDisplayTest, AMissedVersionAnswerIsAskedForAgainUnlessOnceIsAsked) {
    displayMissingVersionAnswers(2);
    TDisplayIdentity found = IdentifyDisplay(connection, op, TIdentifyRequest{});
    ASSERT_TRUE(found.found());
    EXPECT_EQ(std::string(found.model->name), "KT350-MK");
    EXPECT_EQ(found.baudRate, 9600);
    EXPECT_EQ(found.firmwareVersion, 14u);
    EXPECT_EQ(versionQueries, 3);

    versionQueries = 0;
    TIdentifyRequest once;
    once.versionAttempts = 1;
    found = IdentifyDisplay(connection, op, once);
    EXPECT_EQ(found.firmwareVersion, std::nullopt);
    EXPECT_EQ(found.versionCause, "Read Version Error !");
    EXPECT_EQ(versionQueries, 1);
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
