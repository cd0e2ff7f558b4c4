#pragma once

#include "cli/shell/Cli.h"
#include "link/Connection.h"

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace tavisto::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the display, the port or a file failed
inline constexpr int kExitUsage = 2;  // the command line is wrong
// A yes/no question (factory reset, format, firmware) was not answered Yes: refused by
// the operator, or asked without --yes and without a terminal. Nothing was sent.
inline constexpr int kExitNotConfirmed = 3;
// A transfer was stopped by SIGINT (Ctrl+C), SIGTERM or SIGHUP (its terminal closed):
// the display was set back to its speed and the port closed before the program ended.
inline constexpr int kExitInterrupted = 130;

// A command line that cannot be run; the text says what is wrong with it.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a command works with once its arguments are checked.
struct CliContext {
    TConnection& connection;
    std::ostream& out; // operator messages and results
    std::ostream& err; // errors, warnings and trace lines
    int model = -1;    // the model the scan found; -1 when the scan was skipped
    std::function<bool(std::vector<std::string>&, std::string&)> enumPorts;
    TransferThreadsMaker transferThreads = {}; // see CliEnvironment
};

using CliStep = std::function<int(CliContext&)>;

// A checked command, ready to run. `load` reads the command's input files before any
// port is chosen or opened, so a bad file is reported as a file error and nothing is
// sent; `run` then does the work. Each returns the exit code, and `run` is skipped
// when `load` fails. State that `load` prepares for `run` is shared through what both
// capture.
struct CliAction {
    CliAction() = default;
    // A command with nothing to read first.
    template <typename Run>
    requires std::is_invocable_r_v<int, Run&, CliContext&> CliAction(Run run)
        : run(std::move(run)) {}
    CliAction(CliStep load, CliStep run) : load(std::move(load)), run(std::move(run)) {}

    CliStep load;
    CliStep run;
};

enum class CliNeeds {
    Nothing, // no port: port listing, settings and picture files
    Port,    // a port, but the command finds the speed itself (connect): --baud is refused
    Display, // a display: a port and a speed (scanned unless --baud is given)
};

// One row of the command table. `parse` checks all of the command's arguments, throws
// UsageError when they are wrong, and returns the action; it never touches a port or a
// file, so every usage error is found before anything is read or sent.
struct CliCommand {
    std::string_view name;
    std::string_view summary; // one line for the command list
    std::string_view help;    // usage line, then the explanation for COMMAND --help
    CliNeeds needs;
    std::function<CliAction(const std::vector<std::string>& args)> parse;
};

// Prints a command's outcome: its message on stdout and exit 0 on success, on
// stderr and exit 1 on failure.
int reportOutcome(CliContext& context, bool ok, const std::string& message);

// An action that runs one display command, bool(TConnection&, std::string& message),
// and reports its outcome.
template <typename Send> CliAction sendAction(Send send) {
    return [send](CliContext& context) {
        std::string message;
        const bool ok = send(context.connection, message);
        return reportOutcome(context, ok, message);
    };
}

} // namespace tavisto::cli
