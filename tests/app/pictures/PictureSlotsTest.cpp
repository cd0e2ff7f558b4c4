// The picture slots' workflows on the simulated display: Play Setting, the preview
// click, which slots Download takes, and the checks it makes before it sends.
#include "app/pictures/PictureDownload.h"
#include "app/pictures/PlaySetting.h"
#include "tests/app/ModelRows.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

TSlotChecks checkedSlots(std::initializer_list<int> slots) {
    TSlotChecks checks{};
    for (int slot : slots)
        checks[static_cast<std::size_t>(slot - 73)] = true;
    return checks;
}

class PictureSlotsTest : public SimulatedWorkflowTest {
protected:
    PictureSlotsTest() {
        sim::Faults slow; // answers 20 ms late: a host that reads before it waits finds nothing
        slow.replyDelay = 20ms;
        startDisplay(kMka, 14, slow);
    }

    bool download(int model, TSlotChecks& checks) {
        return btn_DownloadPictrueClick(connection, op, FindModel(model), runner, slots, checks);
    }

    TSettingsForm form;
    TDisplayInfo info;
};

TEST_F(PictureSlotsTest, PlaySettingSendsSelectionStandbyAndIntervalFromTheForm) {
    form.CheckBox76to85 = {true, true, false, false, false, false, false, false, false, true};
    form.ud_StandbyTime = 0;
    form.ud_PlayInterval = 10;
    ASSERT_TRUE(btn_SetToPlayClick(connection, form, info, op));
    EXPECT_EQ(info.pic_reg, 0x0203);
    EXPECT_EQ(form.lbl_selected_nums, 3);
    EXPECT_EQ(line.writes(), (std::vector<Bytes>{wire("02 07 28 02 03"), wire("02 07 1C 00"),
                                                 wire("02 07 1B 0A")}));
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Done!", 64}}));
}

TEST_F(PictureSlotsTest, PreviewClickShowsTheSlideShowPictureOfItsSlot) {
    EXPECT_TRUE(cxImage76Click(connection, op, 76));
    EXPECT_TRUE(cxImage76Click(connection, op, 85));
    // The start logo, the header strips and the guest picture have no picture number.
    EXPECT_FALSE(cxImage76Click(connection, op, 73));
    EXPECT_FALSE(cxImage76Click(connection, op, 86));
    EXPECT_EQ(line.writes(), (std::vector<Bytes>{wire("02 07 1A 01"), wire("02 07 1A 0A")}));
    EXPECT_TRUE(op.boxes.empty());
}

TEST_F(PictureSlotsTest, OnlyLoadedFlaggedSlotsAreSentAndDefaultPicturesNever) {
    TSlotChecks checks = checkedSlots({73, 76, 77, 78, 86});
    // Every box checked over a default picture: nothing to send, nothing said.
    EXPECT_TRUE(SlotsToSend(slots, checks).empty());
    EXPECT_FALSE(download(kMka, checks));
    EXPECT_TRUE(line.writes().empty());
    EXPECT_TRUE(op.boxes.empty());

    slots.place(76, Bitmap(480, 272));
    slots.place(78, Bitmap(480, 272));
    EXPECT_EQ(SlotsToSend(slots, checks), (std::vector<int>{76, 78}));
    // "-" clears the flag: a checked box does not bring the slot back.
    slots.revert(76);
    EXPECT_FALSE(slots.PicList(76));
    EXPECT_TRUE(slots.picture(76).empty());
    EXPECT_EQ(SlotsToSend(slots, checks), (std::vector<int>{78}));
    // An unchecked box keeps a loaded slot home.
    checks[78 - 73] = false;
    EXPECT_TRUE(SlotsToSend(slots, checks).empty());
}

TEST_F(PictureSlotsTest, APictureOfAnotherModelsSizeIsRefusedByName) {
    // Loaded for a 480 x 272 display, then a KT350-MK is connected.
    slots.place(76, Bitmap(480, 272));
    TSlotChecks checks = checkedSlots({76});
    EXPECT_FALSE(download(kMk, checks));
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Slot 76 (Picture_1) holds a 480 x 272 picture, but "
                                           "the KT350-MK takes 800 x 480 there. It is not sent; "
                                           "load it again with \"+\".",
                                           48}}));
    EXPECT_TRUE(line.writes().empty());
    EXPECT_FALSE(runner.engine().Running());

    // The same picture fits the small panel; the guest slot, which small panels do not
    // have, is left to the engine's "not suport" line.
    slots.place(86, Bitmap(800, 360));
    EXPECT_EQ(SlotSizeMismatch(slots, 76, DisplayModels[kMka]), "");
    EXPECT_EQ(SlotSizeMismatch(slots, 86, DisplayModels[kMka]), "");
    EXPECT_EQ(SlotSizeMismatch(slots, 86, DisplayModels[kMk]), "");
}

TEST_F(PictureSlotsTest, ADisplayLostAtTheTransferSpeedGetsItsLinkBack) {
    slots.place(74, Bitmap(120, 40));
    TSlotChecks checks = checkedSlots({74});
    // The display takes the switch to 115200 baud and then stays quiet.
    sim::Faults faults = display->faults();
    faults.silentAfter = wire("02 07 04");
    display->setFaults(faults);
    EXPECT_FALSE(download(kMka, checks));
    // Apart from the readiness probes: to 115200 and back to the operator's 9600.
    EXPECT_EQ(line.writesOtherThan(wire("02 07 16 01")),
              (std::vector<Bytes>{wire("02 07 04 00 01 C2 00"), wire("02 07 04 00 00 25 80")}));
    EXPECT_EQ(line.baudRate(), 9600);
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_EQ(op.lastBox().text.find("Not found"), std::string::npos) << op.lastBox().text;
    EXPECT_EQ(op.status, (std::vector<std::string>{"begin  100 2", "disable", "end", "enable"}));
    EXPECT_FALSE(runner.engine().Running());
}

TEST_F(PictureSlotsTest, ADisplayThatDoesNotAnswerFirstIsNotFound) {
    slots.place(74, Bitmap(120, 40));
    TSlotChecks checks = checkedSlots({74});
    sim::Faults silent = display->faults();
    silent.silent = true;
    display->setFaults(silent);
    EXPECT_FALSE(download(kMka, checks));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_EQ(op.lastBox().text.rfind("Not found the devies!", 0), 0u) << op.lastBox().text;
    EXPECT_TRUE(op.status.empty());
    for (const Bytes& frame : line.writes())
        EXPECT_EQ(frame, wire("02 07 16 01")); // only the readiness probes
}

} // namespace
} // namespace tavisto::testing
