#include "app/settings/SettingsWorkflows.h"

#include "settings/DefaultSettings.h"
#include "tests/app/SimulatedWorkflow.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {
namespace fs = std::filesystem;

class SettingsFileWorkflowTest : public SimulatedWorkflowTest {
protected:
    SettingsFileWorkflowTest() {
        sim::Faults slow; // answers 20 ms late: a host that reads before it waits finds nothing
        slow.replyDelay = 20ms;
        startDisplay(5, 14, slow);
        actDefaultSettingExecute(form, info, op);
    }

    // A dialog that records what it was asked and answers with `choice`.
    TChooseFile chooser(std::optional<std::string> choice) {
        return [this, choice](const TFileDialogRequest& request) {
            requests.push_back(request);
            return choice;
        };
    }

    std::string pathOf(const std::string& name) const { return (folder.path() / name).string(); }

    TSettingsForm form;
    TDisplayInfo info;
    TempFolder folder;
    TSettingsDialogs dialogs;
    std::vector<TFileDialogRequest> requests;
};

// An installed program's folder cannot be written: the save dialog opens at home.
TEST(SaveDialogStartFolder, TheProgramsFolderOnlyWhenItCanBeWritten) {
    TempFolder writable;
    EXPECT_EQ(SaveDialogStartFolder(writable.path().string(), "/home/x"), writable.path().string());
    const std::string gone = (writable.path() / "no such folder").string();
    EXPECT_EQ(SaveDialogStartFolder(gone, "/home/x"), "/home/x");
    EXPECT_EQ(SaveDialogStartFolder(gone, ""), gone);
}

TEST_F(SettingsFileWorkflowTest, SaveWritesTheCollectedFormUnderAnIniName) {
    form.edt_line1 = "\xC3\xA9"; // e-acute: byte 82 in CP437
    ASSERT_TRUE(btn_savesettingsClick(form, info, op, dialogs, chooser(pathOf("abc.txt"))));

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].initialFolder, SaveDialogStartFolder(ProgramFolder(), "/home/x"));
    EXPECT_EQ(requests[0].proposedName, "Tavisto");
    EXPECT_EQ(requests[0].filter, "Settings Files(*.ini)|*.ini");
    EXPECT_EQ(dialogs.saveFolder, folder.path().string());
    EXPECT_EQ(folder.names(), std::vector<std::string>{"abc.ini"});
    EXPECT_EQ(op.boxes,
              (std::vector<Box>{{"Save Settings File Success:" + pathOf("abc.ini"), 64}}));

    const std::string file = folder.read("abc.ini");
    EXPECT_EQ(file.substr(0, 30), "{\n    \"temp1\": 0,\n    \"Baud_Ra");
    // The display-code-page byte is in the file as it is, and the edit was padded.
    EXPECT_NE(file.find("\"wel_mess1\": \"\x82" + std::string(19, ' ') + "\","), std::string::npos);
    EXPECT_NE(file.find("\"temp2\": 4,"), std::string::npos);
    EXPECT_EQ(form.edt_line1, "\xC3\xA9" + std::string(19, ' '));

    // The next save opens where the last one went.
    btn_savesettingsClick(form, info, op, dialogs, chooser(pathOf("abc")));
    EXPECT_EQ(requests[1].initialFolder, folder.path().string());
}

TEST_F(SettingsFileWorkflowTest, ACancelledOrFailedSaveLeavesNoFile) {
    EXPECT_FALSE(btn_savesettingsClick(form, info, op, dialogs, chooser(std::nullopt)));
    EXPECT_TRUE(op.boxes.empty());

    EXPECT_FALSE(
        btn_savesettingsClick(form, info, op, dialogs, chooser(pathOf("missing/abc.ini"))));
    EXPECT_EQ(op.lastBox(), (Box{"Cannot create file \"" + pathOf("missing/abc.ini") +
                                     "\". No such file or directory",
                                 16}));

    fs::create_directory(folder.path() / "taken.ini"); // a folder in the file's place
    EXPECT_FALSE(btn_savesettingsClick(form, info, op, dialogs, chooser(pathOf("taken"))));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"taken.ini"});
}

TEST_F(SettingsFileWorkflowTest, SavedSettingsLoadBackOntoTheForm) {
    form.edt_line1 = "Hello";
    form.rg_Down_InterChar = 12; // Russia
    form.rg_Down_CodePage = 20;  // WCP1251
    form.cbb_CodePage = form.cbb_codepage_test = form.cbb_codepage_maintext = 20;
    form.edt_line2 = "\xD0\x9F\xD1\x80\xD0\xB8"; // Cyrillic "Pri"
    form.rbtnTextLine2 = false;
    form.rbtnTextLine4 = true;
    form.CheckBox76to85[4] = true;
    form.pnlColorBgHeader = 0x00F800;
    form.rg_brightness = 0;
    form.ud_StandbyTime = 60;
    ASSERT_TRUE(btn_savesettingsClick(form, info, op, dialogs, chooser(pathOf("a.ini"))));
    const TSettingsForm saved = form;

    actDefaultSettingExecute(form, info, op);
    ASSERT_NE(form, saved);
    ASSERT_TRUE(btn_loadsettingsClick(form, info, op, chooser(pathOf("a.ini"))));
    EXPECT_EQ(op.lastBox(), (Box{"Load Settings Success!", 64}));
    EXPECT_EQ(form, saved);
    EXPECT_FALSE(requests.back().save);
    EXPECT_EQ(requests.back().filter, "Settings Files(*.ini)|*.ini");
}

TEST_F(SettingsFileWorkflowTest, BadFilesLeaveTheFormAsCollected) {
    folder.write("empty.ini", "");
    folder.write("broken.ini", "{\"Baud_Rate\": 4,");
    folder.write("typed.ini", "{\"Baud_Rate\": 4, \"tp_mode\": \"9\"}");
    struct Case {
        std::string file;
        Box box;
    };
    const Case cases[] = {
        {"empty.ini", {"Load Settings Error!", 48}},
        {"broken.ini", {"Parsing failed!", 48}},
        {"typed.ini", {"Invalid settings: member \"tp_mode\" is not an integer!", 48}},
        {"none.ini",
         {"Cannot open file \"" + pathOf("none.ini") + "\". No such file or directory", 16}},
    };
    for (const Case& c : cases) {
        form.edt_line1 = "AB";
        TSettingsForm collected = form;
        TDisplayInfo record = info;
        CollectSettings(collected, record);

        EXPECT_FALSE(btn_loadsettingsClick(form, info, op, chooser(pathOf(c.file)))) << c.file;
        EXPECT_EQ(op.lastBox(), c.box) << c.file;
        EXPECT_EQ(form, collected) << c.file;
        EXPECT_EQ(info.Baud_Rate, 0) << c.file;
    }
}

TEST_F(SettingsFileWorkflowTest, GetSettingAppliesTheDisplaysTextOrChangesNothing) {
    const TSettingsForm before = form;
    sim::Faults faults = display->faults();
    faults.silent = true;
    display->setFaults(faults);
    EXPECT_FALSE(btn_GetSettingClick(connection, form, info, op)); // no answer
    EXPECT_EQ(op.lastBox(), (Box{"Get Settings Error!", 48}));
    faults.silent = false;
    faults.settingsReply = Bytes("{\"Comm_No\":3") + '\0';
    display->setFaults(faults);
    EXPECT_FALSE(btn_GetSettingClick(connection, form, info, op));
    EXPECT_EQ(op.lastBox(), (Box{"Parsing failed!", 48}));
    EXPECT_EQ(form, before);
    EXPECT_EQ(info.Comm_No, 255);

    faults.settingsReply =
        Bytes("{\"Comm_No\":3,\"wel_mess1\":\"FROM DISPLAY\",\"pic_reg\":3}") + '\0';
    display->setFaults(faults);
    ASSERT_TRUE(btn_GetSettingClick(connection, form, info, op));
    EXPECT_EQ(line.writes(), std::vector<Bytes>(3, wire("02 07 16 05")));
    EXPECT_EQ(op.lastBox(), (Box{"Get Settings from Display Success!", 64}));
    EXPECT_EQ(form.cbb_down_CommandMode, 3);
    EXPECT_EQ(form.edt_line1, "FROM DISPLAY");
    EXPECT_EQ(form.lbl_selected_nums, 2);
    EXPECT_EQ(form.edt_line2, "**HAVE A NICE DAY AND THANK YOU**"); // not in the text
}

} // namespace
} // namespace tavisto::testing
