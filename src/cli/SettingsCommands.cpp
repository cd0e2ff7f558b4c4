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
        {"defaults", "write the built-in default settings file",
         "usage: tavisto-cli [OPTIONS] defaults FILE\n\n"
         "Writes the built-in default settings to FILE as a settings file. The name always\n"
         "ends in .ini (abc and abc.txt both give abc.ini). No display is needed.\n",
         runDefaults, false},
        {"get-settings", "save the display's settings to a settings file",
         "usage: tavisto-cli [OPTIONS] get-settings FILE\n\n"
         "Reads the display's settings and saves them to FILE (named .ini). Settings the\n"
         "display does not report keep their built-in defaults.\n",
         runGetSettings, true},
        {"apply", "send a settings file to the display (All Download)",
         "usage: tavisto-cli [OPTIONS] apply FILE\n\n"
         "Loads the settings file FILE on top of the built-in defaults and sends it as All\n"
         "Download does: brightness, header, main text and footer colours and layout, welcome\n"
         "lines and scrolling, character set and code page (not the command mode, the baud\n"
         "rate, the main text or the picture play settings). Prints the report; exits with 1\n"
         "when the file cannot be loaded or any item failed.\n",
         runApply, true},
    }};
    return commands;
}

} // namespace tavisto
