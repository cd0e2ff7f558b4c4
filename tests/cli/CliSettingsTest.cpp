#include "app/settings/SettingsWorkflows.h"
#include "cli/shell/Cli.h"
#include "cli/shell/TerminalOperator.h"
#include "settings/SettingsText.h"
#include "tests/app/RecordingOperator.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/SimulatedDisplay.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavisto::testing {
namespace {

TEST(TerminalOperator, InformationToOutWarningsAndErrorsToErr) {
    std::ostringstream out, err;
    std::istringstream in;
    cli::TTerminalOperator terminal(out, err, in);
    EXPECT_EQ(terminal.ShowMsgBox("Done!", kMbIconInformation), kIdOk);
    terminal.ShowMsgBox("Fail!", kMbIconWarning);
    terminal.ShowMsgBox("Download: \r\n\r\nA  Success \r\n", kMbIconError);
    EXPECT_EQ(out.str(), "Done!\n");
    EXPECT_EQ(err.str(), "Fail!\nDownload: \n\nA  Success \n");

    std::ostringstream reportOut;
    cli::TTerminalOperator reporting(reportOut, err, in, {.warningsToErr = false});
    reporting.ShowMsgBox("report", kMbIconWarning);
    EXPECT_EQ(reportOut.str(), "report\n");
}

TEST(TerminalOperator, QuestionsNeedYesOrAnOperator) {
    std::ostringstream out, err;
    std::istringstream noInput;
    cli::TTerminalOperator script(out, err, noInput);
    EXPECT_EQ(script.ShowMsgBox("Sure?", kMbYesNoQuestion), kIdNo);
    EXPECT_EQ(err.str(), "Sure? no (run with --yes to confirm)\n");

    EXPECT_TRUE(script.declined());

    cli::TTerminalOperator confirmed(out, err, noInput, {.assumeYes = true});
    EXPECT_EQ(confirmed.ShowMsgBox("Sure?", kMbYesNoQuestion), kIdYes);
    EXPECT_FALSE(confirmed.declined());

    std::istringstream answers(" Yes \nn\ny");
    cli::TTerminalOperator asked(out, err, answers, {.interactive = true});
    EXPECT_EQ(asked.ShowMsgBox("Sure?", kMbYesNoQuestion), kIdYes);
    EXPECT_FALSE(asked.declined());
    EXPECT_EQ(asked.ShowMsgBox("Sure?", kMbYesNoQuestion), kIdNo);
    EXPECT_TRUE(asked.declined()); // a later Yes does not undo a No
    EXPECT_EQ(asked.ShowMsgBox("Sure?", kMbYesNoQuestion), kIdYes);
    EXPECT_EQ(asked.ShowMsgBox("Sure?", kMbYesNoQuestion), kIdNo); // end of input
    EXPECT_TRUE(out.str().empty());
}

// The settings-file commands of tavisto-cli on the simulated display.
class CliSettingsTest : public CliTest {
protected:
    using Run = CliRun;

    CliSettingsTest() {
        sim::Faults slow; // answers 20 ms late: a host that reads before it waits finds nothing
        slow.replyDelay = 20ms;
        display.setFaults(slow);
    }

    std::string pathOf(const std::string& name) const { return (folder.path() / name).string(); }

    // The command on the fake port at 9600 baud, so no scan and no port announcement.
    Run runAt9600(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", "/dev/ttyFAKE0", "--baud", "9600"});
        return run(args);
    }

    SimulatedDisplay display{line};
    TempFolder folder;
};

TEST_F(CliSettingsTest, DefaultsWritesTheBuiltInSettings) {
    const Run result = run({"defaults", pathOf("d.txt")});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Save Settings File Success:" + pathOf("d.ini") + "\n");
    EXPECT_TRUE(line.events().empty());

    TDisplayInfo saved;
    std::string message;
    ASSERT_TRUE(ReadSettingsText(folder.read("d.ini"), saved, message)) << message;
    EXPECT_EQ(saved.Comm_No, 255);
    EXPECT_EQ(saved.temp2, 4);
    EXPECT_EQ(saved.back_light, 5);
    EXPECT_EQ(saved.wel_mess2, "**HAVE A NICE DAY AND THANK YOU**" + std::string(27, ' '));
    EXPECT_EQ(saved.tp_back_rgb_565, 31u);
}

// File names are UTF-8 from the command line to the system and back into the messages.
TEST_F(CliSettingsTest, ANameOutsideAsciiIsSavedLoadedAndShownAsTyped) {
    const std::string name = pathOf("\u8BBE\u7F6E"); // 设置
    const Run saved = run({"defaults", name});
    EXPECT_EQ(saved.code, 0) << saved.err;
    EXPECT_EQ(saved.out, "Save Settings File Success:" + name + ".ini\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"\u8BBE\u7F6E.ini"});
    const Run applied = runAt9600({"apply", name + ".ini"});
    EXPECT_EQ(applied.code, 0) << applied.err;
    EXPECT_EQ(applied.out.rfind("Load Settings Success!\n", 0), 0u) << applied.out;
}

// "dir/" would be saved as the hidden "dir/.ini", "." as "..ini".
TEST_F(CliSettingsTest, ANameWithoutAFilePartIsRefusedByTheCliAndTheWindow) {
    RecordingOperator op;
    TDisplayInfo info;
    for (const std::string& name : {pathOf("") + "/", pathOf("."), pathOf("..")}) {
        SCOPED_TRACE(name);
        const Run defaults = run({"defaults", name});
        EXPECT_EQ(defaults.code, 2);
        EXPECT_NE(defaults.err.find("Cannot save \"" + name + "\": the name has no file part."),
                  std::string::npos)
            << defaults.err;
        EXPECT_EQ(runAt9600({"get-settings", name}).code, 2);

        EXPECT_FALSE(SaveSettingsFile(info, name, op));
        EXPECT_EQ(op.lastBox(),
                  (Box{"Cannot save \"" + name + "\": the name has no file part.", 16}));
    }
    EXPECT_TRUE(folder.names().empty());
    EXPECT_TRUE(line.events().empty());
}

TEST_F(CliSettingsTest, GetSettingsSavesWhatTheDisplayHolds) {
    sim::Faults faults = display.faults();
    faults.settingsReply = Bytes("{\"Comm_No\":7,\"lun_time\":9}") + '\0';
    display.setFaults(faults);
    Run result = runAt9600({"get-settings", pathOf("g")});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Get Settings from Display Success!\nSave Settings File Success:" +
                              pathOf("g.ini") + "\n");
    TDisplayInfo saved;
    std::string message;
    ASSERT_TRUE(ReadSettingsText(folder.read("g.ini"), saved, message));
    EXPECT_EQ(saved.Comm_No, 7);
    EXPECT_EQ(saved.lun_time, 9);
    EXPECT_EQ(saved.back_light, 5); // from the defaults the text did not override

    faults.silent = true;
    display.setFaults(faults);
    result = runAt9600({"get-settings", pathOf("h")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "Get Settings Error!\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"g.ini"});
}

TEST_F(CliSettingsTest, ApplySendsTheFileAndPrintsTheReport) {
    folder.write("a.ini", "{\"back_light\":6, \"Char_No\":8, \"Expand_Char_No\":1}");
    Run result = runAt9600({"apply", pathOf("a.ini")});
    EXPECT_EQ(result.code, 0) << result.err;
    const std::vector<Bytes> sent = line.writesOtherThan(wire("02 07 16 01"));
    ASSERT_EQ(sent.size(), 14u);
    EXPECT_EQ(sent.front(), wire("1F 58 01")); // 20 %
    EXPECT_EQ(sent[12], wire("02 05 08"));     // Japan
    EXPECT_EQ(sent[13], wire("02 06 01"));     // CP932
    EXPECT_EQ(result.out.rfind("Load Settings Success!\nDownload: \n\n", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("CodePage Setting :            Success \n"), std::string::npos);

    sim::Faults silent = display.faults(); // the port opens, the display says nothing
    silent.silent = true;
    display.setFaults(silent);
    result = runAt9600({"apply", pathOf("a.ini")});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.out.find("Failed \n"), std::string::npos) << result.out;
}

// The file is read before the port is chosen, opened or scanned, so a bad file is
// reported as one and nothing is sent.
TEST_F(CliSettingsTest, ApplyReadsTheFileBeforeThePort) {
    folder.write("bad.ini", "{\"back_light\":");
    for (const std::string& file : {pathOf("none.ini"), pathOf("bad.ini")}) {
        SCOPED_TRACE(file);
        const Run result = run({"--port", "/dev/ttyGONE", "apply", file});
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.find("serial port"), std::string::npos) << result.err;
        EXPECT_TRUE(
            result.err.ends_with("Nothing was sent: \"" + file + "\" could not be loaded.\n"))
            << result.err;
    }
    EXPECT_NE(run({"apply", pathOf("none.ini")}).err.find("none.ini\". No such file or directory"),
              std::string::npos);
    EXPECT_TRUE(line.events().empty());
}

// A port that cannot be opened fails every item alike: it is said once, by name.
TEST_F(CliSettingsTest, ApplyOnAPortThatDoesNotOpenSaysSoOnce) {
    folder.write("a.ini", "{}");
    const Run result = run({"--port", "/dev/ttyGONE", "--baud", "9600", "apply", pathOf("a.ini")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "Load Settings Success!\n");
    EXPECT_EQ(
        result.err,
        "/dev/ttyGONE: Error opening serial port!\n/dev/ttyGONE does not exist: check the port "
        "name and the cable (tavisto-cli ports lists the ports there are).\n");
    EXPECT_TRUE(line.events().empty());
}

} // namespace
} // namespace tavisto::testing
