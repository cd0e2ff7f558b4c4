#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "settings/CodePage.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cctype>

namespace tavisto::cli {

namespace {

constexpr std::string_view kTextColorHelp = R"(usage: tavisto-cli [OPTIONS] text-color AREA COLOR

Sets the text colour of an area of the screen. AREA is header, main or footer;
COLOR is six hex digits RRGGBB (FF0000 is red). The display must echo the
command to confirm it.
)";

constexpr std::string_view kBackgroundColorHelp =
    R"(usage: tavisto-cli [OPTIONS] background-color AREA COLOR

Sets the background colour of an area of the screen. AREA is header, main or
footer; COLOR is six hex digits RRGGBB. The display must echo the command.
)";

constexpr std::string_view kHeaderModeHelp =
    R"(usage: tavisto-cli [OPTIONS] header-mode text|picture

Makes the header show its text or its picture. The display must echo the
command.
)";

constexpr std::string_view kMainLinesHelp = R"(usage: tavisto-cli [OPTIONS] main-lines 2|4

Lays the main text area out in two or four lines. The display must answer
with the command within half a second.
)";

constexpr std::string_view kMainTextHelp =
    R"(usage: tavisto-cli [OPTIONS] main-text TEXT [--codepage NAME]

Sets the main text (up to four lines of 20 characters, joined). The text is
converted to the code page NAME (default CP437).
)";

constexpr std::string_view kWelcome1Help =
    R"(usage: tavisto-cli [OPTIONS] welcome1 TEXT [--codepage NAME]

Sets welcome message line 1 (20 characters on the display). The text is
converted to the code page NAME (default CP437).
)";

constexpr std::string_view kWelcome2Help =
    R"(usage: tavisto-cli [OPTIONS] welcome2 TEXT [--codepage NAME]

Sets welcome message line 2 (60 characters on the display). The text is
converted to the code page NAME (default CP437).
)";

constexpr std::string_view kScrollHelp = R"(usage: tavisto-cli [OPTIONS] scroll FLAGS

Sets the welcome-line flags (0 to 255, decimal or 0x hex): bit 0 (1) keeps
line 1 still, bit 1 (2) keeps line 2 still; the form also always sets bit 2 (4).
)";

constexpr std::string_view kDisplayBaudHelp = R"(usage: tavisto-cli [OPTIONS] display-baud CODE

Changes the display's own serial speed: CODE 0 = 9600, 1 = 19200, 2 = 38400,
3 = 57600, 4 = 115200 (the speed itself is accepted too). Later commands must
then use the new speed.
)";

std::string commandModeHelp() {
    std::string text = "usage: tavisto-cli [OPTIONS] command-mode INDEX|NAME\n\n"
                       "Selects the command set the display emulates, by its index or name:\n";
    for (std::size_t i = 0; i < CommandModes.size(); ++i)
        text += "  " + std::to_string(i) + "  " + std::string(CommandModes[i].CommandName) + "\n";
    return text;
}

template <typename Set> CliAction colorCommand(const std::vector<std::string>& args, Set set) {
    const ParsedArgs parsed = parseArgs(args, {}, 2, 2);
    const TArea area = parseArea(parsed.positional[0]);
    const std::uint32_t color = parseColor(parsed.positional[1]);
    return sendAction([=](TConnection& c, std::string& m) { return set(c, area, color, m); });
}

// A text command's converted text: the single argument in the --codepage code page.
Bytes convertedText(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--codepage", 1}}, 1, 1);
    const int codePage =
        parsed.has("--codepage") ? parseCodePageName(parsed.options.at("--codepage")[0]) : 437;
    return TextToCodePage(parsed.positional[0], codePage);
}

CliAction textColor(const std::vector<std::string>& args) {
    return colorCommand(args, [](TConnection& c, TArea a, std::uint32_t color, std::string& m) {
        return LcdSetTextColor(c, a, color, m);
    });
}

CliAction backgroundColor(const std::vector<std::string>& args) {
    return colorCommand(args, [](TConnection& c, TArea a, std::uint32_t color, std::string& m) {
        return LcdSetBackgroundColor(c, a, color, m);
    });
}

CliAction headerMode(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const std::string mode = lowerCase(parsed.positional[0]);
    if (mode != "text" && mode != "picture")
        throw UsageError("the header mode is text or picture, not '" + parsed.positional[0] + "'");
    const int tpMode = mode == "text" ? 10 : 9;
    return sendAction(
        [tpMode](TConnection& c, std::string& m) { return LcdSetHeaderMode(c, tpMode, m); });
}

CliAction mainLines(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const std::string& lines = parsed.positional[0];
    if (lines != "2" && lines != "4")
        throw UsageError("the main text has 2 or 4 lines, not '" + lines + "'");
    const int lineMode = lines == "2" ? 1 : 2;
    return sendAction(
        [lineMode](TConnection& c, std::string& m) { return LcdSetMainTextLines(c, lineMode, m); });
}

CliAction mainText(const std::vector<std::string>& args) {
    const Bytes text = convertedText(args);
    return sendAction(
        [text](TConnection& c, std::string& m) { return LcdSetMainText(c, text, m); });
}

CliAction welcome1(const std::vector<std::string>& args) {
    const Bytes text = convertedText(args);
    return sendAction(
        [text](TConnection& c, std::string& m) { return LcdSetWelcomeLine1(c, text, m); });
}

CliAction welcome2(const std::vector<std::string>& args) {
    const Bytes text = convertedText(args);
    return sendAction(
        [text](TConnection& c, std::string& m) { return LcdSetWelcomeLine2(c, text, m); });
}

CliAction scroll(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int flags = parseNumber(parsed.positional[0], "FLAGS", 0, 255);
    return sendAction(
        [flags](TConnection& c, std::string& m) { return LcdSetLine2Scroll(c, flags, m); });
}

CliAction commandMode(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int index = parseNumberOrName(
        parsed.positional[0], "INDEX", 0, static_cast<int>(CommandModes.size()) - 1, CommandModes,
        [](const auto& row) { return row.CommandName; }, [](const auto&, int row) { return row; },
        "command mode");
    return sendAction(
        [index](TConnection& c, std::string& m) { return LcdSetCommandMode(c, index, m); });
}

CliAction displayBaud(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const std::string& given = parsed.positional[0];
    int code = -1;
    for (const auto& row : SetBaudRates) {
        if (row.BaudRateName == given)
            code = row.BaudRateNo;
    }
    if (code < 0)
        code = parseNumber(given, "CODE", 0, static_cast<int>(SetBaudRates.size()) - 1);
    return sendAction(
        [code](TConnection& c, std::string& m) { return LcdSetBaudRate(c, code, m); });
}

} // namespace

std::vector<CliCommand> SettingCommands() {
    static const std::string commandModeText = commandModeHelp();
    return {
        {"text-color", "set an area's text colour", kTextColorHelp, CliNeeds::Display, textColor},
        {"background-color", "set an area's background colour", kBackgroundColorHelp,
         CliNeeds::Display, backgroundColor},
        {"header-mode", "show text or a picture in the header", kHeaderModeHelp, CliNeeds::Display,
         headerMode},
        {"main-lines", "lay the main text out in 2 or 4 lines", kMainLinesHelp, CliNeeds::Display,
         mainLines},
        {"main-text", "set the main text", kMainTextHelp, CliNeeds::Display, mainText},
        {"welcome1", "set welcome message line 1", kWelcome1Help, CliNeeds::Display, welcome1},
        {"welcome2", "set welcome message line 2", kWelcome2Help, CliNeeds::Display, welcome2},
        {"scroll", "set which welcome lines scroll", kScrollHelp, CliNeeds::Display, scroll},
        {"command-mode", "select the emulated command set", commandModeText, CliNeeds::Display,
         commandMode},
        {"display-baud", "change the display's serial speed", kDisplayBaudHelp, CliNeeds::Display,
         displayBaud},
    };
}

} // namespace tavisto::cli
