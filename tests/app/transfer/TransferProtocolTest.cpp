// The file transfer operations against the virtual display's device on the fake line,
// and display-frame splitting.
#include "link/Connection.h"
#include "protocol/FileTransfer.h"
#include "protocol/Session.h"
#include "protocol/TransferFrames.h"
#include "sim/device/Checksum.h"
#include "tests/app/ModelRows.h"
#include "tests/protocol/ConnectionFixture.h"
#include "tests/support/SimulatedDisplay.h"
#include "tests/support/Wire.h"

#include <gmock/gmock.h>
#include <memory>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// A display frame "ACT=k,L=004," with its four payload bytes.
Bytes requestFrame(char kind, const char* payloadHex) {
    return Bytes("ACT=") + kind + ",L=004," + wire(payloadHex);
}

TEST(DisplayFrames, SplitsEveryCompleteFrameAndKeepsAPartialOne) {
    Bytes buffer = requestFrame('0', "00 00 00 05") + requestFrame('9', "00 00 12 34") +
                   Bytes("ACT=0,L=004,\x00\x00", 14);
    auto first = TakeDisplayFrame(buffer);
    auto second = TakeDisplayFrame(buffer);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->kind, 0);
    EXPECT_EQ(first->number, 5u);
    EXPECT_EQ(second->kind, 9);
    EXPECT_EQ(FinishedFrameCrc(*second), 0x1234);
    EXPECT_FALSE(TakeDisplayFrame(buffer));
    EXPECT_EQ(buffer.size(), 14u); // waits for the rest
}

TEST(DisplayFrames, DropsGarbageAndMalformedFramesUpToTheNextAct) {
    Bytes buffer = Bytes("xyAC", 4) + "ACT=5,L=004,abcd" + "ACT=0,L=00Z,abcd" + "ACT=X,L=004,abcd" +
                   requestFrame('0', "00 00 00 02");
    auto frame = TakeDisplayFrame(buffer);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->bytes, requestFrame('0', "00 00 00 02"));
    EXPECT_TRUE(buffer.empty());
}

TEST(DisplayFrames, KeepsAPossibleFrameStartWhenDroppingNoise) {
    Bytes buffer = Bytes(20, 'z') + "AC";
    EXPECT_FALSE(TakeDisplayFrame(buffer));
    EXPECT_EQ(buffer, "AC");
}

TEST(TransferFrameBytes, BlocksArePaddedAndCarryTheirCrc) {
    const Bytes file(300, '\x11');
    EXPECT_EQ(BlockData(file, 1), Bytes(44, '\x11') + Bytes(212, '\0'));
    EXPECT_EQ(BlockData(file, 2), Bytes(256, '\0'));
    const Bytes frame = BlockFrame(wire("00 00 00 01"), BlockData(file, 1));
    ASSERT_EQ(frame.size(), 274u);
    EXPECT_EQ(frame.substr(0, 16), "ACT=0,L=100," + wire("00 00 00 01"));
    const std::uint16_t crc = sim::crc16(frame.substr(0, 272));
    EXPECT_EQ(frame.substr(272), Bytes({static_cast<char>(crc >> 8), static_cast<char>(crc)}));
}

TEST(TransferFrameBytes, MakeFileSpellsLengthAndCrcInDecimal) {
    EXPECT_EQ(MakeFileFrame("a.bin", 5, 4660), wire("02 07 05 01") + "a.bin,5,4660\n");
}

// A session open at 9600 baud, its trace lines collected, and a display just switched
// on behind the line.
class FileTransferTest : public ConnectionTest {
protected:
    FileTransferTest() {
        std::string opened;
        EXPECT_EQ(LcdOpenSession(connection, connection.CurrentPortName, 9600, opened), 1);
    }

    void displayWith(const sim::Faults& faults, int model = kMka) {
        displayAt(9600, model, [&faults](sim::Faults& set) { set = faults; });
    }

    sim::Faults faults;
};

TEST_F(FileTransferTest, SetupSucceedsOnAnEchoInTwoPieces) {
    faults.replyDelay = 100ms;
    faults.splitAt = 4;
    faults.splitPause = 150ms;
    displayWith(faults);
    EXPECT_TRUE(LcdTransferSetup(connection, "00032000", "0000012C", message)) << message;
    EXPECT_EQ(display->receivedFrames().back(), wire("02 10 00 03 20 00 00 00 01 2C"));
    EXPECT_THAT(traced, ElementsAre("----> 0210000320000000012C", "<---- 0210000320000000012C"));
}

TEST_F(FileTransferTest, SetupFailsOnSilenceOrAStalledOrWrongEcho) {
    faults.silent = true;
    displayWith(faults);
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Failed to read data");

    // All of the echo but its last byte, then nothing.
    faults = {};
    faults.shortEcho = true;
    displayWith(faults);
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Failed to read data");

    faults = {};
    faults.wrongEcho = true;
    displayWith(faults);
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Download service setup failed !");
}

TEST_F(FileTransferTest, HandshakeDropsOtherBytesUntilA) {
    faults.garbage = "xy";
    faults.replyDelay = 10ms;
    displayWith(faults, kMkc);
    EXPECT_TRUE(LcdFirmwareHandshake(connection, message));
    // Written once per round: the empty first round, then one per byte dropped.
    EXPECT_EQ(line.writes(), std::vector<Bytes>(4, wire("07 07 07 07")));
}

TEST_F(FileTransferTest, MakeFileJudgesTheReply) {
    displayWith(faults, kMk);
    EXPECT_TRUE(LcdMakeFile(connection, "a.bin", 5, 4660, message)) << message;
    EXPECT_EQ(display->receivedFrames().back(), wire("02 07 05 01") + "a.bin,5,4660\n");

    faults.refuseMakeFile = true;
    displayWith(faults, kMk);
    EXPECT_FALSE(LcdMakeFile(connection, "a.bin", 5, 4660, message));
    EXPECT_EQ(message, "Make Flie failed !");

    // "O" at once, the rest of "OK" too late.
    faults = {};
    faults.splitAt = 1;
    faults.splitPause = 2s;
    displayWith(faults, kMk);
    EXPECT_FALSE(LcdMakeFile(connection, "a.bin", 5, 4660, message));
    EXPECT_EQ(message, "Make File failed : Time out !");
}

TEST_F(FileTransferTest, FileCrcWaitComparesTheDecimalText) {
    const Bytes file = "hello";
    for (bool wrong : {false, true}) {
        faults.wrongFileCrc = wrong;
        displayWith(faults, kMk);
        ASSERT_TRUE(LcdMakeFile(connection, "a.bin", 5, sim::crc16(file), message)) << message;
        ASSERT_TRUE(LcdSendRaw(connection, file, message));
        EXPECT_EQ(LcdWaitFileCrc(connection, std::to_string(sim::crc16(file)), message), !wrong);
    }
    EXPECT_EQ(message, "Download failed : Crc");
    // The wait's own time-out on the line: a digit at every poll, but no line feed.
    for (int i = 0; i < 4; ++i)
        line.arrive("4", i * 100ms);
    EXPECT_FALSE(LcdWaitFileCrc(connection, "4660", message));
    EXPECT_EQ(message, "Download failed : Time out !");
}

TEST_F(FileTransferTest, OperationsThatWaitNeedAnOpenSession) {
    LcdCloseSession(connection);
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Serial Port Not Opened!");
    EXPECT_FALSE(LcdSendBlock(connection, wire("00 00 00 00"), Bytes(256, 0), message));
    EXPECT_EQ(message, "Serial Port Not Opened!");
}

} // namespace
} // namespace tavisto::testing
