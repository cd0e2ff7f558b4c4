#pragma once

#include "link/Connection.h"

#include <array>
#include <iosfwd>
#include <string>
#include <vector>

namespace tavisto {

// The settings commands of tavisto-cli. Each takes the arguments after its own name
// and returns the exit status: 0 success, 1 failure, 2 wrong arguments (the usage is
// printed on `err`). They run the window's own workflows on a form that starts, as the
// window does, with the built-in defaults. Settings files are always named ".ini".

// defaults FILE: writes the built-in default settings file. Needs no display.
int runDefaults(TConnection& connection, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err);

// get-settings FILE: reads the display's settings and saves them as a settings file.
int runGetSettings(TConnection& connection, const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err);

// apply FILE: loads a settings file and sends it with All Download (the command itself
// is the confirmation, so nothing is asked). The report goes to `out`; exit status 1
// when the file could not be loaded or any item failed.
int runApply(TConnection& connection, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);

struct TSettingsCliCommand {
    const char* name;
    const char* summary; // one line for the command list
    const char* help;    // usage line and explanation for COMMAND --help
    int (*run)(TConnection&, const std::vector<std::string>&, std::ostream&, std::ostream&);
    bool needsDisplay;
};

// The three commands with their summaries and help texts, for the command table.
const std::array<TSettingsCliCommand, 3>& SettingsCliCommands();

} // namespace tavisto
