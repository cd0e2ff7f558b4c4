#include "app/settings/AllDownload.h"
#include "app/settings/SettingsForm.h"
#include "app/settings/SettingsWorkflows.h"
#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "cli/TerminalOperator.h"
#include "settings/SettingsFile.h"

#include <memory>

namespace tavisto::cli {
namespace {

constexpr std::string_view kDefaultsHelp = R"(usage: tavisto-cli defaults FILE

Writes the built-in default settings to FILE as a settings file. The name
always ends in .ini (abc and abc.txt both give abc.ini); it needs a file part,
so a folder ("dir/", ".") is refused. No display is needed.
)";

constexpr std::string_view kGetSettingsHelp = R"(usage: tavisto-cli [OPTIONS] get-settings FILE

Reads the display's settings and saves them to FILE (named .ini, as defaults
does). Settings the display does not report keep their built-in defaults.
)";

constexpr std::string_view kApplyHelp = R"(usage: tavisto-cli [OPTIONS] apply FILE

Loads the settings file FILE on top of the built-in defaults and sends it as
All Download does: brightness, header, main text and footer colours and
layout, welcome lines and scrolling, character set and code page (not the
command mode, the baud rate, the main text or the picture play settings).
The file is read before the port is opened. Prints the report; exits with 1
when the file cannot be loaded or any item failed.
)";

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
    if (!HasFileNamePart(file, message))
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
        return SaveSettingsFile(settings.info, file, op) ? kExitOk : kExitFailed;
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
        return SaveSettingsFile(settings.info, file, op) ? kExitOk : kExitFailed;
    };
}

// Loads the file before the port is touched; sends it once the display is reached.
CliAction apply(const std::vector<std::string>& args) {
    const std::string file = parseArgs(args, {}, 1, 1).positional[0];
    auto settings = std::make_shared<SettingsState>();
    auto load = [file, settings](CliContext& context) {
        TTerminalOperator op(context.out, context.err);
        if (settings->startWithDefaults(op) &&
            LoadSettingsFile(file, settings->form, settings->info, op))
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

std::vector<CliCommand> SettingsFileCommands() {
    return {
        {"defaults", "write the built-in default settings file", kDefaultsHelp, CliNeeds::Nothing,
         defaults},
        {"get-settings", "save the display's settings to a settings file", kGetSettingsHelp,
         CliNeeds::Display, getSettings},
        {"apply", "send a settings file to the display (All Download)", kApplyHelp,
         CliNeeds::Display, apply},
    };
}

} // namespace tavisto::cli
