#include "app/testing/DisplayTesting.h"
#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "settings/CodePage.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cctype>

namespace tavisto::cli {

namespace {

constexpr std::string_view kClearHelp = R"(usage: tavisto-cli [OPTIONS] clear

Clears the display's screen (sends 0C).
)";

constexpr std::string_view kTextHelp =
    R"(usage: tavisto-cli [OPTIONS] text TEXT [--at COLUMN ROW] [--codepage NAME]

Shows TEXT on the display, at the cursor or, with --at, from COLUMN (1 to 20)
in ROW (1 to 4). The text is converted to the code page NAME (default CP437;
see "codepage --help" for the names); only its first 40 bytes are sent.
)";

constexpr std::string_view kRawHelp = R"(usage: tavisto-cli [OPTIONS] raw HEX...

Sends the bytes as given, written in hex with two digits per byte; spaces and
colons between bytes are allowed, and several arguments are joined:
  tavisto-cli raw 0B 41 42 43
)";

constexpr std::string_view kSampleHelp = R"(usage: tavisto-cli [OPTIONS] sample CODE

Shows the 32 characters from CODE on in two rows of 20, as the sample buttons
of the window do: CODE 20, 40 or 60 for the international character set, 80,
A0, C0 or E0 for the upper half of the code page (hex, any case, "0x" allowed).
The 41 bytes are sent unchanged, whatever the code page.
)";

constexpr std::string_view kBrightnessHelp = R"(usage: tavisto-cli [OPTIONS] brightness STEP

Sets the brightness: STEP 1 = 20 %, 2 = 40 %, 3 = 60 %, 4 = 100 %.
)";

constexpr std::string_view kRestartHelp = R"(usage: tavisto-cli [OPTIONS] restart

Restarts the display.
)";

constexpr std::string_view kFactoryResetHelp = R"(usage: tavisto-cli [OPTIONS] factory-reset

Restores the display's factory settings. There is no question first.
)";

std::string codePageHelp() {
    return "usage: tavisto-cli [OPTIONS] codepage NUMBER|NAME\n\n" +
           wrapText("Selects the display's code page for the upper half of the character set, "
                    "by the display's number (0 to 255) or by name: " +
                    codePageNames() + ".");
}

std::string interCharHelp() {
    std::string names;
    for (const auto& row : InterChars)
        names += (names.empty() ? "" : ", ") + std::string(row.DisplayNameEn);
    return "usage: tavisto-cli [OPTIONS] interchar NUMBER|NAME\n\n" +
           wrapText("Selects the display's international character set, by number (0 to 255) "
                    "or by name: " +
                    names + ".");
}

CliAction clear(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return sendAction([](TConnection& c, std::string& m) { return VfdClearDisplay(c, 0, m); });
}

CliAction text(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--at", 2}, {"--codepage", 1}}, 1, 1);
    const int codePage =
        parsed.has("--codepage") ? parseCodePageName(parsed.options.at("--codepage")[0]) : 437;
    const Bytes bytes = TextToCodePage(parsed.positional[0], codePage);
    if (!parsed.has("--at"))
        return sendAction(
            [bytes](TConnection& c, std::string& m) { return VfdSendText(c, bytes, m); });
    const auto& at = parsed.options.at("--at");
    const int column = parseNumber(at[0], "COLUMN", 1, 20);
    const int row = parseNumber(at[1], "ROW", 1, 4);
    return sendAction(
        [=](TConnection& c, std::string& m) { return VfdSendTextAt(c, column, row, bytes, m); });
}

CliAction raw(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, SIZE_MAX);
    Bytes bytes;
    for (const auto& part : parsed.positional)
        bytes += parseHexBytes(part);
    return sendAction([bytes](TConnection& c, std::string& m) { return VfdSendRaw(c, bytes, m); });
}

CliAction sample(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    std::string code = lowerCase(parsed.positional[0]);
    if (code.starts_with("0x"))
        code.erase(0, 2);
    static constexpr std::string_view kCodes[] = {"20", "40", "60", "80", "a0", "c0", "e0"};
    if (std::find(std::begin(kCodes), std::end(kCodes), code) == std::end(kCodes))
        throw UsageError("invalid CODE: " + parsed.positional[0] +
                         " (one of 20, 40, 60, 80, A0, C0, E0)");
    const Bytes frame = CodePageSampleFrame(std::stoi(code, nullptr, 16));
    return sendAction([frame](TConnection& c, std::string& m) { return VfdSendRaw(c, frame, m); });
}

CliAction brightness(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int step = parseNumber(parsed.positional[0], "STEP", 1, 4);
    return sendAction(
        [step](TConnection& c, std::string& m) { return VfdSetBrightness(c, step, m); });
}

CliAction codePage(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const std::string& given = parsed.positional[0];
    int number = -1;
    try {
        number = parseNumberOrName(
            given, "NUMBER", 0, 255, CodePages, [](const auto& row) { return row.DisplayName; },
            [](const auto& row, int) { return row.CodePageNoNew; }, "code page");
    } catch (const UsageError& e) {
        if (startsWithDigit(given))
            throw;
        throw UsageError(std::string(e.what()) + "; the code pages are " + codePageNames());
    }
    return sendAction([number](TConnection& c, std::string& m) {
        return VfdSelectCodePage(c, number, kDisplayCommandForm, m);
    });
}

CliAction interChar(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int number = parseNumberOrName(
        parsed.positional[0], "NUMBER", 0, 255, InterChars,
        [](const auto& row) { return row.DisplayNameEn; },
        [](const auto& row, int) { return row.InterCharNo; }, "character set");
    return sendAction([number](TConnection& c, std::string& m) {
        return VfdSelectInterChar(c, number, kDisplayCommandForm, m);
    });
}

CliAction restart(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return sendAction([](TConnection& c, std::string& m) { return VfdRestartDisplay(c, m); });
}

CliAction factoryReset(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return sendAction([](TConnection& c, std::string& m) { return VfdFactoryReset(c, m); });
}

} // namespace

std::vector<CliCommand> ScreenCommands() {
    // The help texts built from the tables live as long as the command table.
    static const std::string codePageText = codePageHelp();
    static const std::string interCharText = interCharHelp();
    return {
        {"clear", "clear the screen", kClearHelp, CliNeeds::Display, clear},
        {"text", "show a text, optionally at a column and row", kTextHelp, CliNeeds::Display, text},
        {"raw", "send bytes given in hex", kRawHelp, CliNeeds::Display, raw},
        {"sample", "show a row of character samples from 20, 40, ... E0", kSampleHelp,
         CliNeeds::Display, sample},
        {"brightness", "set the brightness step (1 to 4)", kBrightnessHelp, CliNeeds::Display,
         brightness},
        {"codepage", "select the display's code page", codePageText, CliNeeds::Display, codePage},
        {"interchar", "select the international character set", interCharText, CliNeeds::Display,
         interChar},
        {"restart", "restart the display", kRestartHelp, CliNeeds::Display, restart},
        {"factory-reset", "restore the factory settings", kFactoryResetHelp, CliNeeds::Display,
         factoryReset},
    };
}

} // namespace tavisto::cli
