#include "app/settings/AllDownload.h"
#include "app/settings/SettingCommands.h"
#include "app/settings/SettingsForm.h"
#include "app/settings/SettingsWorkflows.h"
#include "app/testing/DisplayTesting.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/commands/SettingsHelp.h"
#include "cli/shell/TerminalOperator.h"
#include "cli/commands/TransferQueue.h"
#include "files/Utf8Path.h"
#include "protocol/Discovery.h"
#include "settings/CodePage.h"
#include "settings/SettingsFile.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace tavisto::cli {
namespace {

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

// Runs one of the window's maintenance buttons (Reset Display, Restart Display): the
// question it asks, if any, is answered by --yes or on a terminal, and its failure is
// shown on stderr. "OK" when it went through.
template <typename Button> int runMaintenanceButton(CliContext& context, bool yes, Button button) {
    TTerminalOperator op = QueueOperator(context, yes);
    // Neither button reads the form; the window passes its own.
    TSettingsForm form;
    TDisplayInfo info;
    if (!button(context.connection, form, info, op))
        return StoppedExitCode(op);
    context.out << "OK\n";
    return kExitOk;
}

CliAction restart(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        return runMaintenanceButton(context, false, btn_RestartDisplayClick);
    };
}

CliAction factoryReset(const std::vector<std::string>& args) {
    const bool yes = parseArgs(args, {{"--yes", 0}}, 0, 0).has("--yes");
    return [yes](CliContext& context) {
        return runMaintenanceButton(context, yes, btn_ResetDisplayClick);
    };
}

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
    return TextToCodePage(utf8Text(parsed.positional[0]), codePage);
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
    const int speed =
        std::stoi(std::string(SetBaudRates[static_cast<std::size_t>(code)].BaudRateName));
    // The command has no answer: "OK" only once the display answers at its new speed.
    return sendAction([code, speed](TConnection& c, std::string& m) {
        const int before = c.CurrentBaudRate;
        return LcdSetBaudRate(c, code, m) && ConfirmNewLineSpeed(c, before, speed, m);
    });
}

// The form and the record as the window has them after start-up.
struct SettingsState {
    TSettingsForm form;
    TDisplayInfo info;

    bool startWithDefaults(TOperator& op) { return actDefaultSettingExecute(form, info, op); }
};

// The FILE to save to: refused when it names no file.
std::string fileToSave(const std::vector<std::string>& args) {
    const std::string file = parseArgs(args, {}, 1, 1).positional[0];
    std::string message;
    if (!HasFileNamePart(PathFromUtf8(file), message))
        throw UsageError(message);
    return file;
}

CliAction defaults(const std::vector<std::string>& args) {
    const std::string file = fileToSave(args);
    return [file](CliContext& context) {
        TTerminalOperator op(context.out, context.err);
        SettingsState settings;
        if (!settings.startWithDefaults(op))
            return kExitFailed;
        CollectSettings(settings.form, settings.info);
        return SaveSettingsFile(settings.info, PathFromUtf8(file), op) ? kExitOk : kExitFailed;
    };
}

CliAction getSettings(const std::vector<std::string>& args) {
    const std::string file = fileToSave(args);
    return [file](CliContext& context) {
        TTerminalOperator op(context.out, context.err);
        SettingsState settings;
        if (!settings.startWithDefaults(op) ||
            !btn_GetSettingClick(context.connection, settings.form, settings.info, op))
            return kExitFailed;
        CollectSettings(settings.form, settings.info);
        return SaveSettingsFile(settings.info, PathFromUtf8(file), op) ? kExitOk : kExitFailed;
    };
}

// Loads the file before the port is touched; sends it once the display is reached.
CliAction apply(const std::vector<std::string>& args) {
    const std::string file = parseArgs(args, {}, 1, 1).positional[0];
    auto settings = std::make_shared<SettingsState>();
    auto load = [file, settings](CliContext& context) {
        TTerminalOperator op(context.out, context.err);
        if (settings->startWithDefaults(op) &&
            LoadSettingsFile(PathFromUtf8(file), settings->form, settings->info, op))
            return kExitOk;
        // The reader's message may not say which file it was about.
        context.err << "Nothing was sent: \"" << file << "\" could not be loaded.\n";
        return kExitFailed;
    };
    auto send = [settings](CliContext& context) {
        // The report is the command's result: it goes to stdout even as a warning.
        TTerminalOperator op(context.out, context.err, {.warningsToErr = false});
        const TAllDownloadResult result =
            AllDownload(context.connection, settings->form, settings->info, op);
        return result.allSucceeded ? kExitOk : kExitFailed;
    };
    return CliAction(load, send);
}

} // namespace

std::vector<CliCommand> SettingsCommands() {
    // The help texts built from the tables live as long as the command table.
    static const std::string codePageText = codePageHelp();
    static const std::string interCharText = interCharHelp();
    static const std::string commandModeText = commandModeHelp();
    return {
        {"brightness", "set the brightness step (1 to 4)", kBrightnessHelp, CliNeeds::Display,
         brightness},
        {"codepage", "select the display's code page", codePageText, CliNeeds::Display, codePage},
        {"interchar", "select the international character set", interCharText, CliNeeds::Display,
         interChar},
        {"restart", "restart the display", kRestartHelp, CliNeeds::Display, restart},
        {"factory-reset", "restore the factory settings (asks first)", kFactoryResetHelp,
         CliNeeds::Display, factoryReset},
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
        {"defaults", "write the built-in default settings file", kDefaultsHelp, CliNeeds::Nothing,
         defaults},
        {"get-settings", "save the display's settings to a settings file", kGetSettingsHelp,
         CliNeeds::Display, getSettings},
        {"apply", "send a settings file to the display (All Download)", kApplyHelp,
         CliNeeds::Display, apply},
    };
}

} // namespace tavisto::cli
