#pragma once

#include "link/Connection.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tavisto {
class BlockingOwnerLoop;
class TTransferEngine;
class TTransferThreads;
} // namespace tavisto

namespace tavisto::cli {

// Makes stand-ins for a transfer's helper threads from the command's connection, its
// owner loop and the engine they report to (reachable once the loop runs).
using TransferThreadsMaker = std::function<std::unique_ptr<TTransferThreads>(
    TConnection&, BlockingOwnerLoop&, std::function<TTransferEngine&()>)>;

// Where tavisto-cli finds its ports, time and language; tests substitute a
// scripted line and a virtual clock.
struct CliEnvironment {
    link::PortOpener& opener;
    Clock& clock;
    std::function<bool(std::vector<std::string>&, std::string&)> enumPorts;
    std::uint16_t langId = kLangEnglish;
    // Tests on a virtual clock run a transfer's owner loop on `clock` and its helpers on
    // the command's thread; empty for the helper threads in real time.
    TransferThreadsMaker transferThreads = {};
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
