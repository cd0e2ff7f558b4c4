// Font Download, firmware update and storage format against the simulated display on
// the virtual clock, with small stand-in images handed to the engine as its resources.
#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
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
using ::testing::HasSubstr;

class StorageSimTest : public SimulatedWorkflowTest {
protected:
    // A stand-in image that names itself, so what the display stored shows which
    // resource it came from.
    void provide(const std::string& name) {
        Bytes bytes = name + ":";
        while (bytes.size() < 40)
            bytes += name;
        resources[name] = bytes;
    }

    TempFolder folder;
};

// Font Download through the serial layer's seam and the engine, with images for a few
// rows only: the rows without one are passed over. Which rows each model takes and
// where every image goes are checked on the virtual clock (FontDownloadTest).
TEST_F(StorageSimTest, FontDownloadOnAnAddressedModelStoresItsImagesAndKeepsTheSpeed) {
    startDisplay(kMka);
    for (const char* name : {"CP437_480X272", "MINI_RUSSIA_480X272", "CP437_800X480"})
        provide(name);
    ASSERT_TRUE(btn_CharacterSetDownAllClick(connection, op, FindModel(kMka), runner));
    ASSERT_TRUE(finish(120s));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 2 / Failed 0]", 64}));

    auto flash = display->storage().flash;
    EXPECT_EQ(flash.size(), 2u);
    EXPECT_EQ(flash[0x00000000], resources["CP437_480X272"]);
    EXPECT_EQ(flash[0x003F1000], resources["MINI_RUSSIA_480X272"]);
    // Every font row and the table are queued; the three this model does not take are
    // logged in their place.
    EXPECT_THAT(op.status, Contains("item Download CP437|1 of  77|1"));
    EXPECT_THAT(logLines(),
                ElementsAre("log CP437 [Succeed]", "log! CP437_40x40 [Failed]:not suport",
                            "log! CP936_GBK [Failed]:not suport", "log mini_RUSSIA [Succeed]",
                            "log! big52gbk [Failed]:not suport"));
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(StorageSimTest, FontDownloadOnANamedModelStoresItsImagesUnderTheirFileNames) {
    startDisplay(kMk);
    for (const char* name :
         {"CP437_800X480", "CP936_GBK_800X480", "MINI_RUSSIA_800X480", "BIG52GBK"})
        provide(name);
    ASSERT_TRUE(btn_CharacterSetDownAllClick(connection, op, FindModel(kMk), runner));
    ASSERT_TRUE(finish(120s));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 4 / Failed 0]", 64}));

    auto files = display->storage().files;
    EXPECT_EQ(files.size(), 4u);
    EXPECT_EQ(files["437_80x40.bin"], resources["CP437_800X480"]);
    EXPECT_EQ(files["936_gbk_40x40.bin"], resources["CP936_GBK_800X480"]);
    EXPECT_EQ(files["24x48_fxChar_RUSSIA.bin"], resources["MINI_RUSSIA_800X480"]);
    EXPECT_EQ(files["big52gbk.bin"], resources["BIG52GBK"]);
    EXPECT_THAT(op.status, Contains("item Download CP437|1 of  77|1"));
    // The table gets no log line.
    EXPECT_THAT(logLines(), ElementsAre("log CP437 [Succeed]", "log CP936_GBK [Succeed]",
                                        "log mini_RUSSIA [Succeed]"));
}

TEST_F(StorageSimTest, FirmwareBelowVersionTwelveGetsTheTableFirstAndUsesTheWakeUp) {
    startDisplay(kMkc, 11);
    provide("BIG52GBK");
    provide("KT350MK");
    ASSERT_TRUE(btn_updateClick(connection, op, FindModel(kMkc), runner));
    ASSERT_TRUE(finish(60s));
    EXPECT_EQ(op.boxes.front(), (Box{"Do you want to upgrade the firmware?", 36}));
    // An addressed model does not take the table; the firmware goes in by the wake-up.
    EXPECT_THAT(logLines(), ElementsAre("log! big52gbk [Failed]:not suport"));
    EXPECT_EQ(display->storage().firmware, resources["KT350MK"]);
    EXPECT_THAT(op.status, ::testing::Contains("item Firmware Updating......|1 of  1|0"));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 1 / Failed 0]", 64}));
}

TEST_F(StorageSimTest, WithoutAFirmwareImageNothingIsAskedOrSent) {
    startDisplay(kMk, 11);
    provide("BIG52GBK");
    EXPECT_FALSE(btn_updateClick(connection, op, FindModel(kMk), runner));
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_THAT(op.lastBox().text, HasSubstr("no firmware image for KT350-MK"));
    EXPECT_THAT(op.lastBox().text, HasSubstr("\"firmware\""));
    EXPECT_FALSE(runner.engine().Running());
    EXPECT_EQ(display->count(sim::LogKind::Received), 0u);
}

TEST_F(StorageSimTest, AnUpdateThatFindsNoDisplaySaysSoAndSendsNothing) {
    startDisplay(kMk);
    provide("KT350MK");
    connection.CurrentPortName = (folder.path() / "ttyGONE").string();
    EXPECT_FALSE(btn_updateClick(connection, op, FindModel(kMk), runner));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_EQ(op.lastBox().text.rfind("Not found the devies!", 0), 0u) << op.lastBox().text;
    EXPECT_FALSE(runner.engine().Running());
    EXPECT_EQ(display->count(sim::LogKind::Received), 0u);
}

TEST_F(StorageSimTest, AnswersNoSendNothing) {
    startDisplay(kMk);
    provide("KT350MK");
    op.answers = {kIdNo, kIdNo, kIdNo};
    EXPECT_FALSE(btn_updateClick(connection, op, FindModel(kMk), runner));
    EXPECT_FALSE(btn_FormatClick(connection, op));
    folder.write("fw.bin", Bytes(1500, 'F'));
    const std::string file = (folder.path() / "fw.bin").string();
    EXPECT_FALSE(btn_CharacterSetDownSingleClick(connection, op, FindModel(kMk), runner, 93, file));
    EXPECT_EQ(op.lastBox(),
              (Box{"Send \"" + file +
                       "\" (1,500 bytes) as the firmware of the KT350-MK? A firmware image not "
                       "made for this display can stop it from working.",
                   36}));
    // A file of another size than the item has on this model is asked about, after
    // the firmware question; No to it sends nothing either.
    op.answers = {kIdYes, kIdNo};
    EXPECT_FALSE(btn_CharacterSetDownSingleClick(connection, op, FindModel(kMk), runner, 93, file));
    EXPECT_EQ(op.lastBox(), (Box{"firmware is 266,752 bytes on the KT350-MK, but \"" + file +
                                     "\" has 1,500 bytes: it may not be this item at all, and "
                                     "the display would show what it holds. Send it anyway?",
                                 36}));
    folder.write("cp850.bin", Bytes(5000, 'c'));
    op.answers = {kIdNo};
    EXPECT_FALSE(btn_CharacterSetDownSingleClick(connection, op, FindModel(kMk), runner, 6,
                                                 (folder.path() / "cp850.bin").string()));
    EXPECT_EQ(op.lastBox().text.rfind("CP850 is 102,400 bytes on the KT350-MK, but \"", 0), 0u);
    EXPECT_NE(op.lastBox().text.find("cp850.bin\" has 5,000 bytes"), std::string::npos);
    EXPECT_FALSE(runner.engine().Running());
    EXPECT_EQ(display->count(sim::LogKind::Received), 0u);
}

TEST_F(StorageSimTest, FormatOnYesEmptiesTheStorage) {
    startDisplay(kMk);
    folder.write("font.bin", Bytes(300, 'f'));
    ASSERT_TRUE(btn_CharacterSetDownSingleClick(connection, op, FindModel(kMk), runner, 6,
                                                (folder.path() / "font.bin").string()));
    ASSERT_TRUE(finish(30s));
    ASSERT_EQ(display->storage().files.size(), 1u);
    op.boxes.clear();
    EXPECT_TRUE(btn_FormatClick(connection, op));
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Are you sure you want to format the storage?", 36}}));
    // The command has no reply: the display acts on it once it has read it.
    EXPECT_TRUE(display->storage().files.empty());
}

} // namespace
} // namespace tavisto::testing
