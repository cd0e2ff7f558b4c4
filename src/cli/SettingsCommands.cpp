#include "cli/SettingsCommands.h"

#include "app/AllDownload.h"
#include "app/SettingsForm.h"
#include "app/SettingsWorkflows.h"
#include "cli/TerminalOperator.h"

#include <ostream>
#include <sstream>

namespace tavisto {
namespace {

constexpr const char* kDefaultsUsage = "defaults FILE";
constexpr const char* kGetSettingsUsage = "get-settings FILE";
constexpr const char* kApplyUsage = "apply FILE";

// The settings commands ask nothing, so their operator needs no input.
struct Terminal {
    Terminal(std::ostream& out, std::ostream& err, TTerminalOptions options = {})
        : op(out, err, noInput, options) {}
    std::istringstream noInput;
    TTerminalOperator op;
};

// One file argument, or the usage on `err`.
bool fileArgument(const std::vector<std::string>& args, const char* usage, std::ostream& err,
                  std::string& file) {
    if (args.size() != 1 || args[0].empty()) {
        err << "usage: tavisto-cli " << usage << "\n";
        return false;
    }
    file = args[0];
    return true;
}

// The form and record as the window has them after start-up.
bool startWithDefaults(TSettingsForm& form, TDisplayInfo& info, TOperator& op) {
    return actDefaultSettingExecute(form, info, op);
}

} // namespace

int runDefaults(TConnection&, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
    std::string file;
    if (!fileArgument(args, kDefaultsUsage, err, file))
        return 2;
    Terminal terminal(out, err);
    TSettingsForm form;
    TDisplayInfo info;
    if (!startWithDefaults(form, info, terminal.op))
        return 1;
    CollectSettings(form, info);
    return SaveSettingsFile(info, file, terminal.op) ? 0 : 1;
}

int runGetSettings(TConnection& connection, const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err) {
    std::string file;
    if (!fileArgument(args, kGetSettingsUsage, err, file))
        return 2;
    Terminal terminal(out, err);
    TSettingsForm form;
    TDisplayInfo info;
    if (!startWithDefaults(form, info, terminal.op) ||
        !btn_GetSettingClick(connection, form, info, terminal.op))
        return 1;
    CollectSettings(form, info);
    return SaveSettingsFile(info, file, terminal.op) ? 0 : 1;
}

int runApply(TConnection& connection, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    std::string file;
    if (!fileArgument(args, kApplyUsage, err, file))
        return 2;
    Terminal terminal(out, err);
    TSettingsForm form;
    TDisplayInfo info;
    if (!startWithDefaults(form, info, terminal.op) ||
        !LoadSettingsFile(file, form, info, terminal.op))
        return 1;
    // The report is the command's result: it goes to `out` even when it is a warning.
    Terminal reporting(out, err, {.warningsToErr = false});
    const TAllDownloadResult result = AllDownload(connection, form, info, reporting.op);
    return result.allSucceeded ? 0 : 1;
}

const std::array<TSettingsCliCommand, 3>& SettingsCliCommands() {
    static const std::array<TSettingsCliCommand, 3> commands{{
        {"defaults", kDefaultsUsage, "Write the built-in default settings to FILE (named .ini).",
         runDefaults, false},
        {"get-settings", kGetSettingsUsage,
         "Read the display's settings and save them to FILE (named .ini).", runGetSettings, true},
        {"apply", kApplyUsage,
         "Load the settings file FILE and send it to the display (All Download); prints the "
         "report and exits with 1 when any item failed.",
         runApply, true},
    }};
    return commands;
}

} // namespace tavisto
