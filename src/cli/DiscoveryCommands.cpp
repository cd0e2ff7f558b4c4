#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"

namespace tavisto::cli {

namespace {

// The firmware version built into this program; older displays are told to update.
constexpr std::uint32_t kLatestFirmwareVersion = 14;

constexpr std::string_view kPortsHelp = R"(usage: tavisto-cli ports

Lists the machine's serial ports, one device path a line, sorted by name.
The first one is the port the other commands use when --port is not given.
)";

constexpr std::string_view kConnectHelp = R"(usage: tavisto-cli [--port PATH] [--baud RATE] connect

Finds the display and identifies it, as the window's Connect button does: it
tries 9600, 19200, 38400, 57600 and 115200 baud in turn (or only --baud RATE),
clears the display's screen, and prints "Connected to MODEL!" and the speed.
Models KT350-MKD, KT350-MK and KT750-MK also report their firmware version
("V" and the number), with a warning when it is older than this program's.
)";

constexpr std::string_view kVersionHelp = R"(usage: tavisto-cli [--port PATH] [--baud RATE] version

Prints the display's firmware version as "V" followed by the number. Only
KT350-MKD, KT350-MK and KT750-MK report a version.
)";

constexpr std::string_view kGetConfigHelp =
    R"(usage: tavisto-cli [--port PATH] [--baud RATE] get-config

Prints the settings text the display reports (a JSON object with members such
as "Baud_Rate", "wel_mess1" and "main_str").
)";

CliAction listPorts(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        std::vector<std::string> ports;
        std::string message;
        if (!context.enumPorts(ports, message)) {
            context.err << message << '\n';
            return kExitFailed;
        }
        for (const auto& port : ports)
            context.out << port << '\n';
        return kExitOk;
    };
}

CliAction connect(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        TConnection& connection = context.connection;
        std::string message;
        int model = context.model;
        if (model < 0) {
            model = LcdIdentifyModel(connection, message);
            if (model < 0)
                return reportOutcome(context, false, message);
        }
        VfdClearDisplay(connection, 0, message);
        context.out << "Connected to " << DisplayModels[static_cast<std::size_t>(model)].name << "!\n";
        context.out << "Baud rate: " << connection.CurrentBaudRate << '\n';
        if (ModelHasFirmwareCheck(model)) {
            const std::uint32_t version = LcdReadVersion(connection, message);
            context.out << "Firmware: V" << version << '\n';
            if (version < kLatestFirmwareVersion)
                context.out << "The current firmware version is lower than the latest version."
                               "\n\nPlease update the firmware version.\n";
        }
        return kExitOk;
    };
}

CliAction readVersion(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        std::string message;
        const std::uint32_t version = LcdReadVersion(context.connection, message);
        if (message != "OK")
            return reportOutcome(context, false, message);
        context.out << 'V' << version << '\n';
        return kExitOk;
    };
}

CliAction getConfiguration(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        std::string message;
        std::string text;
        LcdGetConfiguration(context.connection, message, text);
        if (text.empty())
            return reportOutcome(context, false, message);
        while (!text.empty() && text.back() == '\0')
            text.pop_back();
        context.out << text << '\n';
        return kExitOk;
    };
}

} // namespace

std::vector<CliCommand> DiscoveryCommands() {
    return {
        {"ports", "list the serial ports", kPortsHelp, CliNeeds::Nothing, listPorts},
        {"connect", "find and identify the display", kConnectHelp, CliNeeds::Display, connect},
        {"version", "print the display's firmware version", kVersionHelp, CliNeeds::Display,
         readVersion},
        {"get-config", "print the display's settings text", kGetConfigHelp, CliNeeds::Display,
         getConfiguration},
    };
}

} // namespace tavisto::cli
