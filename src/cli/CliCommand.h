#pragma once

#include "link/Connection.h"

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavisto::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the display or the port failed
inline constexpr int kExitUsage = 2;  // the command line is wrong

// A command line that cannot be run; the text says what is wrong with it.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a command works with once its arguments are checked.
struct CliContext {
    TConnection& connection;
    std::ostream& out; // operator messages
    std::ostream& err; // errors and trace lines
    int model = -1;    // the model the scan found; -1 when the scan was skipped
    std::function<bool(std::vector<std::string>&, std::string&)> enumPorts;
};

// A checked command, ready to run; returns the exit code.
using CliAction = std::function<int(CliContext&)>;

enum class CliNeeds {
    Nothing, // works without a display (port listing, file conversion)
    Display, // talks to a display: needs a port and a speed (scanned unless given)
};

// One row of the command table. `parse` checks the command's arguments, throws
// UsageError when they are wrong, and returns the action; it never touches a port,
// so every usage error is found before anything is sent.
struct CliCommand {
    std::string_view name;
    std::string_view summary; // one line for the command list
    std::string_view help;    // usage line(s) and explanation for COMMAND --help
    CliNeeds needs;
    std::function<CliAction(const std::vector<std::string>& args)> parse;
};

// A row for a command that parses its own arguments and needs no display, such
// as int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err).
template <typename Run>
CliCommand standaloneCommand(std::string_view name, std::string_view summary, std::string_view help,
                             Run run) {
    return {name, summary, help, CliNeeds::Nothing,
            [run](const std::vector<std::string>& args) -> CliAction {
                return [run, args](CliContext& context) {
                    return run(args, context.out, context.err);
                };
            }};
}

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
