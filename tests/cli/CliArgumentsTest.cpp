#include "CliFixture.h"
#include "cli/CliCommand.h"

namespace tavisto::testing {
namespace {

struct BadLine {
    std::vector<std::string> args;
    std::string complaint;
};

TEST_F(CliTest, UsageErrorsExitTwoBeforeTouchingThePort) {
    const std::vector<BadLine> cases = {
        {{}, "no command given"},
        {{"blink"}, "unknown command 'blink'"},
        {{"--speed", "9600", "clear"}, "unknown option '--speed'"},
        {{"--baud", "1234", "clear"}, "RATE must be 9600, 19200, 38400, 57600 or 115200"},
        {{"--baud", "fast", "clear"}, "RATE must be a number"},
        {{"clear", "--port"}, "option '--port' needs a value"},
        {{"--port=", "clear"}, "the port path is empty"},
        {{"clear", "now"}, "expected 0 arguments, got 1"},
        {{"text"}, "expected 1 argument, got 0"},
        {{"text", "a", "b"}, "expected 1 argument, got 2"},
        {{"text", "hi", "--at", "21", "1"}, "COLUMN must be a number from 1 to 20"},
        {{"text", "hi", "--at", "1", "5"}, "ROW must be a number from 1 to 4"},
        {{"text", "hi", "--at", "1"}, "option '--at' needs 2 values"},
        {{"text", "hi", "--codepage", "CP999"}, "unknown code page 'CP999'"},
        {{"text", "hi", "--bold"}, "unknown option '--bold'"},
        {{"raw"}, "expected at least 1 argument"},
        {{"raw", "0G"}, "Error: not a Hex String"},
        {{"raw", "ABC"}, "each byte needs two hex digits"},
        {{"brightness", "0"}, "STEP must be a number from 1 to 4, not 0"},
        {{"brightness", "5"}, "STEP must be a number from 1 to 4, not 5"},
        {{"brightness", "2.5"}, "STEP must be a number from 1 to 4, not '2.5'"},
        {{"codepage", "256"}, "NUMBER must be a number from 0 to 255"},
        {{"codepage", "CPX"}, "unknown code page 'CPX'"},
        {{"interchar", "Mars"}, "unknown character set 'Mars'"},
        {{"text-color", "side", "FF0000"}, "the area is header, main or footer"},
        {{"text-color", "main", "FF00"}, "a colour is six hex digits RRGGBB, not 'FF00'"},
        {{"background-color", "main", "GG0000"}, "a colour is six hex digits"},
        {{"background-color", "main"}, "expected 2 arguments, got 1"},
        {{"header-mode", "both"}, "the header mode is text or picture"},
        {{"main-lines", "3"}, "the main text has 2 or 4 lines"},
        {{"scroll", "256"}, "FLAGS must be a number from 0 to 255"},
        {{"command-mode", "15"}, "INDEX must be a number from 0 to 14"},
        {{"command-mode", "VT100"}, "unknown command mode 'VT100'"},
        {{"display-baud", "5"}, "CODE must be a number from 0 to 4"},
        {{"display-baud", "300"}, "CODE must be a number from 0 to 4"},
        {{"show-picture", "0"}, "N must be a number from 1 to 10"},
        {{"show-picture", "11"}, "N must be a number from 1 to 10"},
        {{"picture-selection", "0x400"}, "MASK must be a number from 0 to 1023"},
        {{"standby", "121"}, "SECONDS must be a number from 0 to 120"},
        {{"interval", "0"}, "SECONDS must be a number from 1 to 10"},
        {{"qr", "x", "--align", "top"}, "the alignment is left, center or right"},
        {{"qr-at", "11", "x"}, "PICTURE must be a number from 1 to 10"},
        {{"qr-at", "5"}, "expected 2 arguments, got 1"},
    };
    for (const auto& testCase : cases) {
        std::string line_;
        for (const auto& arg : testCase.args)
            line_ += arg + ' ';
        SCOPED_TRACE(line_);
        const CliRun result = run(testCase.args);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(testCase.complaint), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("--help"), std::string::npos);
    }
    EXPECT_TRUE(line.events().empty());
}

TEST_F(CliTest, ACommandsUsageErrorShowsItsUsageLine) {
    const CliRun result = run({"brightness", "9"});
    EXPECT_EQ(result.err, "tavisto-cli brightness: STEP must be a number from 1 to 4, not 9\n"
                          "usage: tavisto-cli [OPTIONS] brightness STEP\n"
                          "Try 'tavisto-cli brightness --help'.\n");
}

TEST_F(CliTest, HelpExplainsEveryCommand) {
    CliRun result = run({"--help"});
    EXPECT_EQ(result.code, 0);
    for (const char* name : {"ports",        "connect",
                             "version",      "get-config",
                             "clear",        "text",
                             "raw",          "brightness",
                             "codepage",     "interchar",
                             "text-color",   "background-color",
                             "header-mode",  "main-lines",
                             "main-text",    "welcome1",
                             "welcome2",     "scroll",
                             "command-mode", "display-baud",
                             "show-picture", "picture-selection",
                             "standby",      "interval",
                             "qr",           "qr-at",
                             "format",       "factory-reset",
                             "restart"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(result.out.find(std::string("\n  ") + name + " "), std::string::npos);
        const CliRun help = run({name, "--help"});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.starts_with("usage: tavisto-cli")) << help.out;
        EXPECT_NE(help.out.find(std::string(" ") + name), std::string::npos);
        EXPECT_EQ(run({"help", name}).out, help.out);
    }
    EXPECT_NE(run({"codepage", "--help"}).out.find("CP950_BIG5"), std::string::npos);
    EXPECT_NE(run({"command-mode", "--help"}).out.find("14  AUTO"), std::string::npos);
    // After "--" a "--help" is a text like any other.
    EXPECT_EQ(run({"--baud", "9600", "text", "--", "--help"}).code, 0);
    EXPECT_EQ(line.writes(), std::vector<Bytes>{"--help"});
}

TEST_F(CliTest, PortChoice) {
    ports.clear();
    CliRun result = run({"clear"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "No serial port found; name one with --port PATH.\n");

    listFails = true;
    result = run({"clear"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "Error opening registry key for serial port list\n");
    EXPECT_EQ(run({"ports"}).code, 1);

    listFails = false;
    ports = {"/dev/ttyFAKE0", "/dev/ttyS0"};
    result = run({"ports"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "/dev/ttyFAKE0\n/dev/ttyS0\n");
    EXPECT_TRUE(line.events().empty());

    result = run({"--baud", "9600", "clear"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(line.writes(), std::vector<Bytes>{wire("0C")});

    result = run({"--port", "/dev/ttyGONE", "--baud", "9600", "clear"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, " Error opening serial port!\n");
    result = run({"clear", "--port=/dev/ttyGONE", "--baud=19200"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, " Error opening serial port!\n");
}

} // namespace
} // namespace tavisto::testing

namespace tavisto::testing {
namespace {

// The row form for commands that bring their own parsing, such as file conversion.
TEST_F(CliTest, StandaloneRowsHandTheirArgumentsOver) {
    const cli::CliCommand row = cli::standaloneCommand(
        "echo-args", "summary", "usage: echo-args",
        [](const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
            for (const auto& arg : args)
                out << arg << ';';
            err << "done";
            return 1;
        });
    EXPECT_EQ(row.needs, cli::CliNeeds::Nothing);
    TConnection connection(line, clock);
    std::ostringstream out;
    std::ostringstream err;
    cli::CliContext context{connection, out, err, -1, nullptr};
    EXPECT_EQ(row.parse({"a", "--b"})(context), 1);
    EXPECT_EQ(out.str(), "a;--b;");
    EXPECT_EQ(err.str(), "done");
}

} // namespace
} // namespace tavisto::testing
