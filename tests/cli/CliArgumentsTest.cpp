#include "CliFixture.h"
#include "cli/shell/CliCommand.h"

#include <algorithm>

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
        {{"text", "hi", "--at", "1", "1", "--at=2", "2"}, "option '--at' given twice"},
        {{"text", "hi", "--codepage=CP999"}, "unknown code page 'CP999'"},
        {{"format", "--yes=no"}, "option '--yes' takes no value"},
        {{"--port=", "--trace", "clear"}, "the port path is empty"},
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
        // What no display can show as a QR code, whatever the model.
        {{"qr", ""}, "There is no text to make a QR code of."},
        {{"qr", std::string(10000, 'x')}, "10000 bytes, the display takes at most 250"},
        {{"qr", "caf\xE9"}, "The text is not valid UTF-8 (byte 4)"},
        {{"qr-at", "1", "\xFF"}, "The text is not valid UTF-8 (byte 1)"},
        // Display texts are refused too, rather than sent with "?" for what was typed.
        {{"text", "caf\xE9 ok"}, "the text is not valid UTF-8 (byte 4)"},
        {{"welcome1", "\xC0\x80"}, "the text is not valid UTF-8 (byte 1)"},
        {{"play-setting", "1,0x0A", "30", "2"},
         "PICTURES must be a decimal number from 1 to 10, not '0x0A'"},
        {{"--baud", "9600", "connect"}, "connect tries every speed itself; leave out '--baud'"},
        {{"defaults"}, "expected 1 argument, got 0"},
        {{"defaults", "settings/"}, "Cannot save \"settings/\": the name has no file part."},
        {{"defaults", "."}, "Cannot save \".\": the name has no file part."},
        {{"get-settings", "settings/.."}, "Cannot save \"settings/..\": the name has no"},
        {{"apply", "a.ini", "b.ini"}, "expected 1 argument, got 2"},
        {{"convert", "in.png", "800x480"}, "expected 3 arguments, got 2"},
        {{"convert", "in.jpeg", "800x480", "o.bin"}, "IMAGE must end in .png, .PNG, .jpg"},
        {{"convert", "in.png", "800by480", "o.bin"}, "'800by480' is not a size such as 800x480"},
        {{"convert", "in.png", "0x480", "o.bin"}, "(1 to 16384 pixels a side)"},
        {{"convert", "in.png", "800x480x2", "o.bin"}, "is not a size"},
        {{"convert", "in.png", "800x480", "o.png"},
         "OUTPUT must end in .bin, .BIN, .bmp, .BMP, .jpg or .JPG, not 'o.png'"},
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
        // Short: the complaint, the command's usage line, where to read more.
        EXPECT_LE(std::count(result.err.begin(), result.err.end(), '\n'), 3) << result.err;
        EXPECT_NE(result.err.find("--help'.\n"), std::string::npos);
    }
    EXPECT_TRUE(line.events().empty());
}

TEST_F(CliTest, ACommandsUsageErrorShowsItsUsageLine) {
    const CliRun result = run({"brightness", "9"});
    EXPECT_EQ(result.err, "tavisto-cli brightness: STEP must be a number from 1 to 4, not 9\n"
                          "usage: tavisto-cli [OPTIONS] brightness STEP\n"
                          "Try 'tavisto-cli brightness --help'.\n");
}

TEST_F(CliTest, HelpExplainsEveryCommandWithin80Columns) {
    auto expectNarrow = [](const std::string& text) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            EXPECT_LE(line.size(), 80u) << line;
    };
    CliRun result = run({"--help"});
    EXPECT_EQ(result.code, 0);
    expectNarrow(result.out);
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
                             "restart",      "defaults",
                             "get-settings", "apply",
                             "convert"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(result.out.find(std::string("\n  ") + name + " "), std::string::npos);
        const CliRun help = run({name, "--help"});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.starts_with("usage: tavisto-cli")) << help.out;
        EXPECT_NE(help.out.find(std::string(" ") + name), std::string::npos);
        EXPECT_EQ(run({"help", name}).out, help.out);
        expectNarrow(help.out);
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

    // The first listed port is taken, and named.
    result = run({"--baud", "9600", "clear"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, kUsingFakePort);
    EXPECT_EQ(line.writes(), std::vector<Bytes>{wire("0C")});

    // A port that does not open is named, once, and nothing is tried at any speed.
    const std::size_t before = line.events().size();
    result = run({"--port", "/dev/ttyGONE", "--baud", "9600", "clear"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(
        result.err,
        "/dev/ttyGONE: Error opening serial port!\n/dev/ttyGONE does not exist: check the port "
        "name and the cable (tavisto-cli ports lists the ports there are).\n");
    result = run({"clear", "--port=/dev/ttyGONE"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(
        result.err,
        "/dev/ttyGONE: Error opening serial port!\n/dev/ttyGONE does not exist: check the port "
        "name and the cable (tavisto-cli ports lists the ports there are).\n");
    ports = {"/dev/ttyGONE"};
    result = run({"connect"});
    EXPECT_EQ(result.err,
              "Using /dev/ttyGONE, the first serial port listed (--port PATH names "
              "another).\n/dev/ttyGONE: Error opening serial port!\n/dev/ttyGONE does not "
              "exist: check the port name and the cable (tavisto-cli ports lists "
              "the ports there are).\n");
    EXPECT_EQ(line.events().size(), before);
}

} // namespace
} // namespace tavisto::testing
