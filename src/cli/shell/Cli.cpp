#include "cli/shell/Cli.h"

#include "app/connect/IdentifyDisplay.h"
#include "app/trace/TraceFile.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/shell/OptionScan.h"
#include "cli/shell/TerminalOperator.h"
#include "link/PortAccess.h"
#include "link/SerialPort.h"
#include "protocol/Discovery.h"

#include <algorithm>
#include <optional>
#include <sstream>

namespace tavisto::cli {

namespace {

constexpr const char* kProgram = "tavisto-cli";

struct GlobalOptions {
    std::optional<std::string> port;
    std::optional<int> baudRate;
    bool trace = false;
    std::optional<std::string> traceFile;
    bool help = false;
    std::vector<std::string> rest; // the command and its arguments
};

int parseBaudRate(const std::string& text) {
    const int rate = parseNumber(text, "RATE", 0, 115200);
    if (std::find(kScanBaudRates.begin(), kScanBaudRates.end(), rate) == kScanBaudRates.end())
        throw UsageError("RATE must be 9600, 19200, 38400, 57600 or 115200, not " + text);
    return rate;
}

// Takes the global options out of the command line, wherever they stand before
// a "--"; anything else before the command that looks like an option is an error.
GlobalOptions parseGlobalOptions(const std::vector<std::string>& args) {
    OptionScan scan = scanOptions(
        args, {{"--port", 1}, {"--baud", 1}, {"--trace-file", 1}, {"--trace", 0}}, {"--trace"});
    GlobalOptions options;
    if (const auto port = scan.options.find("--port"); port != scan.options.end()) {
        options.port = port->second[0];
        if (options.port->empty())
            throw UsageError("the port path is empty");
    }
    if (const auto baud = scan.options.find("--baud"); baud != scan.options.end())
        options.baudRate = parseBaudRate(baud->second[0]);
    if (const auto file = scan.options.find("--trace-file"); file != scan.options.end()) {
        options.traceFile = file->second[0];
        if (options.traceFile->empty())
            throw UsageError("the trace file path is empty");
    }
    options.trace = scan.options.count("--trace") != 0;
    // Before the command: --help, or a "--" that ends the options (and is dropped).
    std::size_t command = 0;
    for (; command < scan.rest.size(); ++command) {
        const std::string& arg = scan.rest[command];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--") {
            ++command;
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            break;
        }
    }
    options.rest.assign(scan.rest.begin() + static_cast<std::ptrdiff_t>(command), scan.rest.end());
    return options;
}

bool asksForHelp(const std::vector<std::string>& args) {
    for (const auto& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

std::string firstLine(std::string_view text) {
    return std::string(text.substr(0, text.find('\n')));
}

int usageError(std::ostream& err, const std::string& what, const CliCommand* command) {
    if (command) {
        err << kProgram << ' ' << command->name << ": " << what << '\n'
            << firstLine(command->help) << '\n'
            << "Try '" << kProgram << ' ' << command->name << " --help'.\n";
    } else {
        err << kProgram << ": " << what << '\n' << "Try '" << kProgram << " --help'.\n";
    }
    return kExitUsage;
}

// The port a command uses: --port, or else the first one listed, which is named on
// stderr so the operator knows which line is being tried.
int choosePort(CliContext& context, const GlobalOptions& options) {
    TConnection& connection = context.connection;
    if (options.port) {
        connection.CurrentPortName = *options.port;
        return kExitOk;
    }
    std::vector<std::string> ports;
    std::string message;
    if (!context.enumPorts(ports, message)) {
        context.err << message << '\n';
        return kExitFailed;
    }
    if (ports.empty()) {
        context.err << "No serial port found; name one with --port PATH.\n";
        return kExitFailed;
    }
    connection.CurrentPortName = ports.front();
    context.err << "Using " << ports.front()
                << ", the first serial port listed (--port PATH names another).\n";
    return kExitOk;
}

// How a port that did not open is reported: once and by name, before anything is sent
// (and before a scan or an All Download has tried it at every step).
int portNotOpened(CliContext& context, int code) {
    TConnection& connection = context.connection;
    context.err << connection.CurrentPortName << ':'
                << WithPortOpenHint(OpenCodeMessage(code, connection.SystemLangId),
                                    connection.CurrentPortName, connection.SystemLangId)
                << '\n';
    return kExitFailed;
}

// Chooses the port and checks it opens; for a command that talks to a display, also
// the speed: --baud, or else the five speeds are scanned as Connect does and the one
// that answered is kept.
int reachPort(CliContext& context, const GlobalOptions& options, CliNeeds needs) {
    if (const int code = choosePort(context, options); code != kExitOk)
        return code;
    if (needs != CliNeeds::Display || options.baudRate) {
        const int code =
            CheckPortOpens(context.connection, options.baudRate.value_or(kScanBaudRates.front()));
        if (code != link::kOpenOk)
            return portNotOpened(context, code);
        if (options.baudRate)
            context.connection.CurrentBaudRate = *options.baudRate;
        return kExitOk;
    }
    // A display a killed transfer left at 115200 goes back to its own speed first, so
    // that the command does not leave it there too; the note goes with the errors, out
    // of the command's results.
    TTerminalOperator notes(context.err, context.err);
    TIdentifyRequest request;
    request.versionAttempts = 0;
    const TDisplayIdentity found = IdentifyDisplay(context.connection, notes, request);
    if (found.failure == TIdentifyFailure::PortNotOpened)
        return portNotOpened(context, found.openCode);
    if (!found.found()) {
        context.err << found.cause << '\n';
        return kExitFailed;
    }
    context.model = found.model->index;
    return kExitOk;
}

int runAction(CliContext& context, const GlobalOptions& options, const CliCommand& command,
              const CliAction& action) {
    // Files first, then the port: a bad file is never reported as a port problem.
    if (action.load) {
        if (const int code = action.load(context); code != kExitOk)
            return code;
    }
    if (command.needs != CliNeeds::Nothing) {
        if (const int code = reachPort(context, options, command.needs); code != kExitOk)
            return code;
    }
    return action.run(context);
}

} // namespace

std::string GeneralHelp() {
    std::ostringstream text;
    text << "usage: " << kProgram << " [--port PATH] [--baud RATE] [--trace] [--trace-file FILE]\n"
         << "       COMMAND [ARGS]\n\n"
         << "Configures a TFT customer display on a serial port.\n\n"
         << "Options (anywhere before a \"--\"):\n"
         << "  --port PATH  the serial port (default: the first one \"ports\" lists, named\n"
         << "               on standard error)\n"
         << "  --baud RATE  the line speed: 9600, 19200, 38400, 57600 or 115200 (default:\n"
         << "               try the five in turn and use the one the display answers at)\n"
         << "  --trace      write the traced frames to standard error (\"----> \" sent,\n"
         << "               \"<---- \" received, in hex)\n"
         << "  --trace-file FILE\n"
         << "               add the traced frames to FILE, one a line: the time, the\n"
         << "               direction, the hex and the printable characters; a trace\n"
         << "               that cannot be written is reported and leaves the exit\n"
         << "               status to the command\n"
         << "  --help       show this text; COMMAND --help explains one command\n\n"
         << "Commands:\n";
    std::size_t width = 0;
    for (const auto& command : CommandTable())
        width = std::max(width, command.name.size());
    for (const auto& command : CommandTable()) {
        text << "  " << command.name << std::string(width - command.name.size() + 2, ' ')
             << command.summary << '\n';
    }
    text << "\nCommands read their files before they open the port.\n"
         << "\nExit status: 0 success, 1 the display, the port or a file failed, 2 the command\n"
         << "line is wrong, 3 a question (factory reset, format, firmware) was not answered\n"
         << "yes: refused, or not asked for want of --yes or a terminal; nothing was sent.\n"
         << "130 a transfer was interrupted (Ctrl+C, SIGTERM, or its terminal closed); the\n"
         << "display was set back to its speed first.\n"
         << "Results go to standard output; errors, warnings and the port used go to\n"
         << "standard error.\n";
    return text.str();
}

CliEnvironment SystemEnvironment() {
    return {link::systemPortOpener(), systemClock(), EnumPorts, SystemDefaultLangId()};
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    GlobalOptions options;
    try {
        options = parseGlobalOptions(args);
    } catch (const UsageError& error) {
        return usageError(err, error.what(), nullptr);
    }

    std::vector<std::string> rest = options.rest;
    if (!rest.empty() && rest.front() == "help") {
        options.help = true;
        rest.erase(rest.begin());
    }
    if (rest.empty()) {
        if (options.help) {
            out << GeneralHelp();
            return kExitOk;
        }
        return usageError(err, "no command given", nullptr);
    }

    const CliCommand* command = FindCommand(rest.front());
    if (!command)
        return usageError(err, "unknown command '" + rest.front() + "'", nullptr);
    const std::vector<std::string> commandArgs(rest.begin() + 1, rest.end());
    if (options.help || asksForHelp(commandArgs)) {
        out << command->help;
        return kExitOk;
    }

    if (command->needs == CliNeeds::Port && options.baudRate)
        return usageError(
            err, std::string(command->name) + " tries every speed itself; leave out '--baud'",
            command);
    CliAction action;
    try {
        action = command->parse(commandArgs);
    } catch (const UsageError& error) {
        return usageError(err, error.what(), command);
    }

    TConnection connection(environment.opener, environment.clock);
    connection.SystemLangId = environment.langId;
    if (options.trace)
        connection.trace.setSink([&err](const std::string& line) { err << line << '\n'; });
    std::unique_ptr<TraceFile> traceFile;
    if (options.traceFile) {
        std::string message;
        traceFile = TraceFile::Open(*options.traceFile, connection.trace, message);
        if (!traceFile) {
            err << kProgram << ": " << message << '\n';
            return kExitFailed;
        }
    }
    CliContext context{
        connection, out, err, -1, environment.enumPorts, environment.transferThreads};
    const int code = runAction(context, options, *command, action);
    // The trace only watches the job: a trace that could not be written is reported,
    // and the exit status stays the job's.
    if (traceFile) {
        if (std::string message; !traceFile->Finish(message))
            err << kProgram << ": " << message << '\n';
    }
    return code;
}

} // namespace tavisto::cli
