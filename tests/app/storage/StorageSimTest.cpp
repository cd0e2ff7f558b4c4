// Font Download, firmware update and storage format against the virtual display,
// with small stand-in images handed to the engine as its resources.
#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferRunner.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/app/transfer/LogLines.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <thread>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int kMka = 0, kMkc = 2, kMk = 5;

class StorageSimTest : public ::testing::Test {
protected:
    void startDisplay(int model, std::uint32_t version = 14) {
        sim::SimOptions options;
        options.model = model;
        options.baudRate = 9600;
        options.version = version;
        display = std::make_unique<sim::VirtualDisplay>(options);
        std::string error;
        ASSERT_TRUE(display->start(error)) << error;
        connection.CurrentPortName = display->devicePath();
        connection.CurrentBaudRate = 9600;
    }

    // A stand-in image that names itself, so what the display stored shows which
    // resource it came from.
    void provide(const std::string& name) {
        Bytes bytes = name + ":";
        while (bytes.size() < 40)
            bytes += name;
        resources[name] = bytes;
    }

    bool finish(Millis limit) {
        return loop.runUntil([this] { return !runner.engine().Running(); }, limit);
    }

    std::vector<std::string> logLines() const { return LogLines(op); }

    TempFolder folder;
    std::unique_ptr<sim::VirtualDisplay> display;
    TConnection connection;
    RecordingOperator op;
    BlockingOwnerLoop loop;
    std::map<std::string, Bytes> resources;
    TTransferRunner runner{connection, op, loop,
                           TJobSources{[this](const std::string& name) -> std::optional<Bytes> {
                                           std::string key = name;
                                           for (char& c : key)
                                               c = static_cast<char>(
                                                   std::toupper(static_cast<unsigned char>(c)));
                                           const auto found = resources.find(key);
                                           if (found == resources.end())
                                               return std::nullopt;
                                           return found->second;
                                       },
                                       {}}};
};

// Font Download through the real serial layer and the engine's threads, with images
// for a few rows only: the rows without one are passed over. Which rows each model
// takes and where every image goes are checked on the virtual clock (FontDownloadTest).
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

TEST_F(StorageSimTest, FirmwareFromVersionTwelveOnIsSentAlone) {
    for (std::uint32_t version : {11u, 12u}) {
        SCOPED_TRACE(version);
        startDisplay(kMk, version);
        provide("BIG52GBK");
        provide("KT350MK");
        ASSERT_TRUE(btn_updateClick(connection, op, FindModel(kMk), runner));
        ASSERT_TRUE(finish(60s));
        EXPECT_EQ(display->storage().firmware, resources["KT350MK"]);
        const bool table = display->storage().files.count("big52gbk.bin") != 0;
        EXPECT_EQ(table, version < 12);
        EXPECT_EQ(op.lastBox().text,
                  version < 12 ? "Done! [Succeed 2 / Failed 0]" : "Done! [Succeed 1 / Failed 0]");
    }
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
    for (int wait = 0; wait < 50 && !display->storage().files.empty(); ++wait)
        std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(display->storage().files.empty());
}

} // namespace
} // namespace tavisto::testing
