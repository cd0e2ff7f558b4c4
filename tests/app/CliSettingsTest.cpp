#include "DisplayFixture.h"
#include "cli/SettingsCommands.h"
#include "cli/TerminalOperator.h"
#include "settings/SettingsText.h"
#include "tests/settings/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavisto::testing {
namespace {

TEST(TerminalOperator, InformationToOutWarningsAndErrorsToErr) {
    std::ostringstream out, err;
    std::istringstream in;
    TTerminalOperator terminal(out, err, in);
    EXPECT_EQ(terminal.ShowMsgBox("Done!", MB_ICONINFORMATION), IDOK);
    terminal.ShowMsgBox("Fail!", MB_ICONWARNING);
    terminal.ShowMsgBox("Download: \r\n\r\nA  Success \r\n", MB_ICONERROR);
    EXPECT_EQ(out.str(), "Done!\n");
    EXPECT_EQ(err.str(), "Fail!\nDownload: \n\nA  Success \n");

    std::ostringstream reportOut;
    TTerminalOperator reporting(reportOut, err, in, {.warningsToErr = false});
    reporting.ShowMsgBox("report", MB_ICONWARNING);
    EXPECT_EQ(reportOut.str(), "report\n");
}

TEST(TerminalOperator, QuestionsNeedYesOrAnOperator) {
    std::ostringstream out, err;
    std::istringstream noInput;
    TTerminalOperator script(out, err, noInput);
    EXPECT_EQ(script.ShowMsgBox("Sure?", MB_YESNO_QUESTION), IDNO);
    EXPECT_EQ(err.str(), "Sure? no (run with --yes to confirm)\n");

    TTerminalOperator confirmed(out, err, noInput, {.assumeYes = true});
    EXPECT_EQ(confirmed.ShowMsgBox("Sure?", MB_YESNO_QUESTION), IDYES);

    std::istringstream answers(" Yes \nn\ny");
    TTerminalOperator asked(out, err, answers, {.interactive = true});
    EXPECT_EQ(asked.ShowMsgBox("Sure?", MB_YESNO_QUESTION), IDYES);
    EXPECT_EQ(asked.ShowMsgBox("Sure?", MB_YESNO_QUESTION), IDNO);
    EXPECT_EQ(asked.ShowMsgBox("Sure?", MB_YESNO_QUESTION), IDYES);
    EXPECT_EQ(asked.ShowMsgBox("Sure?", MB_YESNO_QUESTION), IDNO); // end of input
    EXPECT_TRUE(out.str().empty());
}

class CliSettingsTest : public DisplayTest {
protected:
    std::string pathOf(const std::string& name) const { return (folder.path() / name).string(); }

    TempFolder folder;
    std::ostringstream out, err;
};

TEST_F(CliSettingsTest, DefaultsWritesTheBuiltInSettingsOrPrintsTheUsage) {
    EXPECT_EQ(runDefaults(connection, {pathOf("d.txt")}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "Save Settings File Success:" + pathOf("d.ini") + "\n");
    EXPECT_TRUE(line.events().empty());

    TDisplayInfo saved;
    std::string message;
    ASSERT_TRUE(ReadSettingsText(folder.read("d.ini"), saved, message)) << message;
    EXPECT_EQ(saved.Comm_No, 255);
    EXPECT_EQ(saved.temp2, 4);
    EXPECT_EQ(saved.back_light, 5);
    EXPECT_EQ(saved.wel_mess2, "**HAVE A NICE DAY AND THANK YOU**" + std::string(27, ' '));
    EXPECT_EQ(saved.tp_back_rgb_565, 31u);

    EXPECT_EQ(runDefaults(connection, {}, out, err), 2);
    EXPECT_EQ(runApply(connection, {"a", "b"}, out, err), 2);
    EXPECT_EQ(err.str(), "usage: tavisto-cli defaults FILE\nusage: tavisto-cli apply FILE\n");
}

TEST_F(CliSettingsTest, GetSettingsSavesWhatTheDisplayHolds) {
    configuration = "{\"Comm_No\":7,\"lun_time\":9}";
    EXPECT_EQ(runGetSettings(connection, {pathOf("g")}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "Get Settings from Display Success!\nSave Settings File Success:" +
                             pathOf("g.ini") + "\n");
    TDisplayInfo saved;
    std::string message;
    ASSERT_TRUE(ReadSettingsText(folder.read("g.ini"), saved, message));
    EXPECT_EQ(saved.Comm_No, 7);
    EXPECT_EQ(saved.lun_time, 9);
    EXPECT_EQ(saved.back_light, 5); // from the defaults the text did not override

    silent = true;
    EXPECT_EQ(runGetSettings(connection, {pathOf("h")}, out, err), 1);
    EXPECT_EQ(err.str(), "Get Settings Error!\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"g.ini"});
}

TEST_F(CliSettingsTest, ApplySendsTheFileAndPrintsTheReport) {
    folder.write("a.ini", "{\"back_light\":6, \"Char_No\":8, \"Expand_Char_No\":1}");
    EXPECT_EQ(runApply(connection, {pathOf("a.ini")}, out, err), 0) << err.str();
    const std::vector<Bytes> sent = commandsSent();
    ASSERT_EQ(sent.size(), 14u);
    EXPECT_EQ(sent.front(), wire("1F 58 01")); // 20 %
    EXPECT_EQ(sent[12], wire("02 05 08"));     // Japan
    EXPECT_EQ(sent[13], wire("02 06 01"));     // CP932
    EXPECT_EQ(out.str().rfind("Load Settings Success!\nDownload: \n\n", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("CodePage Setting :            Success \n"), std::string::npos);
}

TEST_F(CliSettingsTest, ApplyFailsWhenTheFileOrAnyItemFails) {
    EXPECT_EQ(runApply(connection, {pathOf("none.ini")}, out, err), 1);
    EXPECT_TRUE(line.events().empty());
    EXPECT_NE(err.str().find("No such file or directory"), std::string::npos);

    folder.write("a.ini", "{}");
    connection.CurrentPortName = "/dev/ttyGONE";
    EXPECT_EQ(runApply(connection, {pathOf("a.ini")}, out, err), 1);
    EXPECT_NE(out.str().find("Brightness adjustment :       Failed \n"), std::string::npos)
        << out.str();
}

} // namespace
} // namespace tavisto::testing
