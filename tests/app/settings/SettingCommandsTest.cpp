#include "app/settings/SettingCommands.h"

#include "app/settings/SettingsWorkflows.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

class SettingCommandsTest : public SimulatedWorkflowTest {
protected:
    SettingCommandsTest() {
        sim::Faults slow; // answers 20 ms late: a host that reads before it waits finds nothing
        slow.replyDelay = 20ms;
        startDisplay(5, 14, slow);
        actDefaultSettingExecute(form, info, op);
        op.boxes.clear();
    }

    TSettingsForm form;
    TDisplayInfo info;
};

TEST_F(SettingCommandsTest, WelcomeMessageSendsBothLinesAndTheScrollFlagsWithWaitsBetween) {
    form.edt_line1 = "HI";
    form.chk_Scroll2 = false;
    ASSERT_TRUE(btn_DownloadSettingClick(connection, form, info, op));
    EXPECT_EQ(
        line.writes(),
        (std::vector<Bytes>{
            wire("02 07 16 06") + "HI" + std::string(18, ' ') + '\0', wire("02 07 16 01"),
            wire("02 07 16 07") + "**HAVE A NICE DAY AND THANK YOU**" + std::string(27, ' ') + '\0',
            wire("02 07 16 01"), wire("02 07 16 09 06")}));
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Done!", 64}}));

    // A display that does not come back after line 1 gets nothing more.
    sim::Faults silent = display->faults();
    silent.silent = true;
    display->setFaults(silent);
    const std::size_t sent = line.writesOtherThan(wire("02 07 16 01")).size();
    EXPECT_FALSE(btn_DownloadSettingClick(connection, form, info, op));
    EXPECT_EQ(line.writesOtherThan(wire("02 07 16 01")).size(), sent + 1);
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_EQ(op.lastBox().text.rfind("Not found the devies:", 0), 0u) << op.lastBox().text;
    EXPECT_GT(op.lastBox().text.size(), std::string("Not found the devies:").size());
}

TEST_F(SettingCommandsTest, AreaButtonsSendTheirColoursInOrder) {
    form.pnlColorTextHeader = 0x336699;
    ASSERT_TRUE(btn_HeaderSetClick(connection, form, info, op));
    ASSERT_TRUE(btn_TextSetClick(connection, form, info, op));
    ASSERT_TRUE(btn_FooterSetClick(connection, form, info, op));
    const Bytes mainText = "*** TFT DISPLAY  ***  HAVE A NICE DAY!  "
                           "*** TFT DISPLAY  ***  HAVE A NICE DAY!  ";
    EXPECT_EQ(line.writes(), (std::vector<Bytes>{
                                 wire("02 07 0B 99 66 33"), // the panel's 24-bit colour
                                 wire("02 07 0C 00 00 F8"),
                                 wire("02 07 0A"),
                                 wire("02 07 0E 00 FC F8"),
                                 wire("02 07 0F 00 00 00"),
                                 wire("02 07 14 01"),
                                 wire("02 07 18") + mainText,
                                 wire("02 07 10 00 00 F8"),
                                 wire("02 07 11 F8 FC F8"),
                             }));
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Done!", 64}, {"Done!", 64}, {"Done!", 64}}));
}

TEST_F(SettingCommandsTest, AnAreaButtonStopsAtTheFirstFailure) {
    sim::Faults faults = display->faults();
    faults.wrongEchoTo = wire("02 07 0C");
    display->setFaults(faults);
    EXPECT_FALSE(btn_HeaderSetClick(connection, form, info, op));
    EXPECT_EQ(line.writes(),
              (std::vector<Bytes>{wire("02 07 0B F8 FC F8"), wire("02 07 0C 00 00 F8")}));
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Set BackgroudColor Error!", 16}}));
}

TEST_F(SettingCommandsTest, CommandModeSendsTheRowAndBaudRateMovesTheConnection) {
    ASSERT_TRUE(btn_commandSetClick(connection, form, info, op)); // "AUTO", row 14
    form.cbb_down_CommandMode = -1;
    EXPECT_FALSE(btn_commandSetClick(connection, form, info, op)); // nothing to send
    form.cbb_down_BaudRate = 4;
    ASSERT_TRUE(btn_baudrateSetClick(connection, form, info, op));
    EXPECT_EQ(line.writes(), (std::vector<Bytes>{wire("02 43 31 34"), wire("02 42 34")}));
    EXPECT_EQ(form.cbb_BaudRate, 4);
    EXPECT_EQ(connection.CurrentBaudRate, 115200);
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Done!", 64}, {"Fail!", 48}, {"Done!", 64}}));

    connection.CurrentPortName = "/dev/ttyGONE";
    form.cbb_down_BaudRate = 1;
    EXPECT_FALSE(btn_baudrateSetClick(connection, form, info, op));
    EXPECT_EQ(form.cbb_BaudRate, 4);
    EXPECT_EQ(connection.CurrentBaudRate, 115200);
    EXPECT_EQ(op.lastBox(), (Box{"Fail!", 48}));
}

TEST_F(SettingCommandsTest, RestoreAsksFirstAndRestartDoesNot) {
    op.answers = {kIdNo, kIdYes};
    EXPECT_FALSE(btn_ResetDisplayClick(connection, form, info, op));
    EXPECT_TRUE(line.events().empty()); // not even opened
    EXPECT_TRUE(btn_ResetDisplayClick(connection, form, info, op));
    EXPECT_TRUE(btn_RestartDisplayClick(connection, form, info, op));
    EXPECT_EQ(line.writes(), (std::vector<Bytes>{wire("02 07 15 27 27"), wire("02 1D AA 55")}));
    const Box question{"Are you sure you want to restore factory settings?", 36};
    EXPECT_EQ(op.boxes, (std::vector<Box>{question, question}));
}

} // namespace
} // namespace tavisto::testing
