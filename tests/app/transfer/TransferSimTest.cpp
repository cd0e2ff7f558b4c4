// Single-item downloads through the serial layer's seam and the transfer engine
// against the simulated display, on the virtual clock.
#include "app/storage/SingleDownload.h"
#include "tests/app/ModelRows.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

Bytes pattern(std::size_t size) {
    Bytes bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    return bytes;
}

class TransferSimTest : public SimulatedWorkflowTest {
protected:
    void startDisplay(int model, const sim::Faults& faults = {}) {
        SimulatedWorkflowTest::startDisplay(model, 14, faults);
    }

    // Starts the download of one item from a file holding `content`.
    bool start(int model, int position, const Bytes& content) {
        folder.write("item.bin", content);
        return btn_CharacterSetDownSingleClick(connection, op, FindModel(model), runner, position,
                                               (folder.path() / "item.bin").string());
    }

    bool download(int model, int position, const Bytes& content) {
        return start(model, position, content) && finish(60s);
    }

    bool noted(const std::string& text) const { return display->noted(text); }

    TempFolder folder;
};

TEST_F(TransferSimTest, NamedStyleStoresTheFileAndSetsTheLinkBack) {
    startDisplay(kMk);
    const Bytes font = pattern(3000);
    ASSERT_TRUE(download(kMk, 6, font));
    EXPECT_EQ(display->storage().files["850_80x40.bin"], font);
    EXPECT_THAT(logLines(), ElementsAre("log CP850 [Succeed]"));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 1 / Failed 0]", 64}));
    EXPECT_TRUE(noted("display now at 115200 baud"));
    EXPECT_EQ(display->baudRate(), 9600);
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(TransferSimTest, AddressedStyleStoresTheFileAtItsAddress) {
    startDisplay(kMka);
    const Bytes font = pattern(5000);
    ASSERT_TRUE(download(kMka, 6, font));
    EXPECT_EQ(display->storage().flash[0x00032000], font);
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
    EXPECT_TRUE(noted("display now at 115200 baud"));
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(TransferSimTest, FirmwareStartsWithTheWakeUpOnTheModelThatNeedsIt) {
    startDisplay(kMkc);
    const Bytes image = pattern(2000);
    ASSERT_TRUE(download(kMkc, 93, image));
    EXPECT_EQ(display->storage().firmware, image);
    EXPECT_THAT(op.status, Contains("item Firmware Updating......|1 of  1|0"));
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(TransferSimTest, RequestsThatArriveTogetherAndGarbageDoNotStallTheJob) {
    sim::Faults faults;
    faults.repeatRequest = 1;
    faults.transferGarbage = Bytes("\x00\x13", 2) + "ACT=7,L=004,abcd";
    startDisplay(kMka, faults);
    const Bytes font = pattern(2000);
    const Micros began = clock.elapsed();
    ASSERT_TRUE(download(kMka, 6, font));
    EXPECT_EQ(display->storage().flash[0x00032000], font);
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
    // Not rescued by the ten-second watchdog.
    EXPECT_LT(clock.elapsed() - began, 8s);
}

// The display's end goes away part-way: the ten-second watchdog ends the job and says
// the port is gone. A line that is gone has input "ready" at once, so each of the
// receiver's reads costs a millisecond here for virtual time to reach the watchdog.
TEST_F(TransferSimTest, APortThatDisappearsMidTransferEndsInTheTimeOut) {
    startDisplay(kMka);
    line.readCost = 1ms;
    ASSERT_TRUE(start(kMka, 6, pattern(20000)));
    ASSERT_TRUE(loop.runUntil([this] { return display->count(sim::LogKind::Received) >= 8; }, 20s));
    line.hungUp = true;
    line.failWrites = true;
    const Micros gone = clock.elapsed();
    ASSERT_TRUE(finish(30s));
    EXPECT_THAT(op.lastBox().text,
                MatchesRegex("Time Out!\nCP850: the port is gone \\(the display was unplugged or "
                             "its end of the line closed\\) after [0-9]+ of 79 blocks\\."));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_GE(clock.elapsed() - gone, 10s);
    EXPECT_LT(clock.elapsed() - gone, 11s);
    EXPECT_EQ(op.status.back(), "end");
    EXPECT_THAT(op.status, Contains("enable"));
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(TransferSimTest, AWrongFileCrcIsCountedAsFailed) {
    sim::Faults faults;
    faults.wrongFileCrc = true;
    startDisplay(kMk, faults);
    ASSERT_TRUE(download(kMk, 6, pattern(700)));
    EXPECT_THAT(logLines(), ElementsAre("log! CP850 [Failed]:CRC check error"));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 0 / Failed 1]", 64}));
}

TEST_F(TransferSimTest, ARefusedMakeFileEndsWithItsMessage) {
    sim::Faults faults;
    faults.refuseMakeFile = true;
    startDisplay(kMk, faults);
    ASSERT_TRUE(download(kMk, 6, pattern(70)));
    EXPECT_EQ(op.lastBox(), (Box{"Make Flie failed !", 16}));
    EXPECT_THAT(op.status, Contains("enable"));
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(TransferSimTest, BadInputIsRefusedBeforeTheDisplayIsTouched) {
    startDisplay(kMk);
    EXPECT_FALSE(start(kMk, 80, pattern(10)));
    EXPECT_EQ(op.lastBox(),
              (Box{"Picture_1 shows its built-in default picture, which is never sent. Load a "
                   "picture into its slot with \"+\" on the Picture Management tab first.",
                   16}));
    EXPECT_FALSE(btn_CharacterSetDownSingleClick(connection, op, FindModel(kMk), runner, 6,
                                                 (folder.path() / "missing.bin").string()));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_THAT(op.lastBox().text, ::testing::HasSubstr("missing.bin"));
    EXPECT_EQ(display->count(sim::LogKind::Received), 0u);
}

} // namespace
} // namespace tavisto::testing
