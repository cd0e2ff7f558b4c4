// The file transfer operations and display-frame splitting, on the fake line.
#include "protocol/FileTransfer.h"
#include "protocol/TransferFrames.h"
#include "tests/app/transfer/ScriptedDisplay.h"
#include "tests/protocol/ProtocolFixture.h"

#include <gmock/gmock.h>

namespace tavisto::testing {
namespace {

using ::testing::ElementsAre;

TEST(DisplayFrames, SplitsEveryCompleteFrameAndKeepsAPartialOne) {
    Bytes buffer =
        displayFrame('0', 5) + displayFrame('9', 0x1234) + Bytes("ACT=0,L=004,\x00\x00", 14);
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
                   displayFrame('0', 2);
    auto frame = TakeDisplayFrame(buffer);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->bytes, displayFrame('0', 2));
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
    const std::uint16_t crc = referenceCrc(frame.substr(0, 272));
    EXPECT_EQ(frame.substr(272), Bytes({static_cast<char>(crc >> 8), static_cast<char>(crc)}));
}

TEST(TransferFrameBytes, MakeFileSpellsLengthAndCrcInDecimal) {
    EXPECT_EQ(MakeFileFrame("a.bin", 5, 4660), wire("02 07 05 01") + "a.bin,5,4660\n");
}

class FileTransferTest : public ProtocolTest {
protected:
    void SetUp() override { openSession(); }
};

TEST_F(FileTransferTest, SetupSucceedsOnAnEchoInTwoPieces) {
    line.onWrite = [this](const Bytes& w) {
        line.arrive(w.substr(0, 4), 100ms);
        line.arrive(w.substr(4), 250ms);
    };
    EXPECT_TRUE(LcdTransferSetup(connection, "00032000", "0000012C", message)) << message;
    EXPECT_EQ(line.writes().back(), wire("02 10 00 03 20 00 00 00 01 2C"));
    EXPECT_THAT(traced, ElementsAre("----> 0210000320000000012C", "<---- 0210000320000000012C"));
}

TEST_F(FileTransferTest, SetupFailsOnSilenceOrAStalledOrWrongEcho) {
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Failed to read data");

    // Part of the echo, then nothing by the next poll.
    line.onWrite = [this](const Bytes& w) {
        line.arrive(w.substr(0, 4), 10ms);
    };
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Failed to read data");

    line.onWrite = [this](const Bytes& w) {
        Bytes echo = w;
        echo[9] = 0x7F;
        line.arrive(echo, 10ms);
    };
    EXPECT_FALSE(LcdTransferSetup(connection, "00000000", "00000001", message));
    EXPECT_EQ(message, "Download service setup failed !");
}

TEST_F(FileTransferTest, HandshakeDropsOtherBytesUntilA) {
    line.onWrite = [this](const Bytes&) {
        if (line.writes().size() == 1)
            line.arrive("xyA", 10ms);
    };
    EXPECT_TRUE(LcdFirmwareHandshake(connection, message));
    // Written once per round: the empty first round, then one per byte dropped.
    EXPECT_EQ(line.writes(), std::vector<Bytes>(4, wire("07 07 07 07")));
}

TEST_F(FileTransferTest, MakeFileJudgesTheReply) {
    answer(wire("02 07 05 01") + "a.bin,5,4660\n", "OK\r\n");
    EXPECT_TRUE(LcdMakeFile(connection, "a.bin", 5, 4660, message));
    answer(wire("02 07 05 01") + "a.bin,5,4660\n", "NOK");
    EXPECT_FALSE(LcdMakeFile(connection, "a.bin", 5, 4660, message));
    EXPECT_EQ(message, "Make Flie failed !");
    answer(wire("02 07 05 01") + "a.bin,5,4660\n", "O");
    EXPECT_FALSE(LcdMakeFile(connection, "a.bin", 5, 4660, message));
    EXPECT_EQ(message, "Make File failed : Time out !");
}

TEST_F(FileTransferTest, FileCrcWaitComparesTheDecimalText) {
    line.arrive("4660\n");
    EXPECT_TRUE(LcdWaitFileCrc(connection, "4660", message)) << message;
    line.arrive("4661\n");
    EXPECT_FALSE(LcdWaitFileCrc(connection, "4660", message));
    EXPECT_EQ(message, "Download failed : Crc");
    // A digit at every poll, but no line feed.
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
