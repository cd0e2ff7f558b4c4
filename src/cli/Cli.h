#pragma once

#include "link/Connection.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tavisto::cli {

// Where tavisto-cli finds its ports, time and language; tests substitute a
// scripted line and a virtual clock.
struct CliEnvironment {
    link::PortOpener& opener;
    Clock& clock;
    std::function<bool(std::vector<std::string>&, std::string&)> enumPorts;
    std::uint16_t langId = kLangEnglish;
};

// The real serial ports, real time and the user's language.
CliEnvironment SystemEnvironment();

// Runs one command line (without the program name):
//   [--port PATH] [--baud RATE] [--trace] [--trace-file FILE] COMMAND [ARGS]
// Returns the exit code: 0 success, 1 the display, the port or a file failed, 2 usage
// error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment);

// The text of tavisto-cli --help.
std::string GeneralHelp();

} // namespace tavisto::cli
