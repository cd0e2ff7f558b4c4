#include "app/connect/ConnectWorkflow.h"
#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "cli/TerminalOperator.h"
#include "link/PortAccess.h"
#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"

namespace tavisto::cli {
namespace {

constexpr std::string_view kPortsHelp = R"(usage: tavisto-cli ports

Lists the machine's serial ports, one device path a line, sorted by name.
The first one is the port the other commands use when --port is not given
(they say so on standard error). A port this user may not open is followed by
(no permission, group NAME); joining that group and logging in again
usually lets the user open it.
)";

constexpr std::string_view kConnectHelp = R"(usage: tavisto-cli [--port PATH] connect

Finds the display and identifies it, as the window's Connect button does: it
tries 9600, 19200, 38400, 57600 and 115200 baud in turn (so --baud is not
taken), clears the display's screen, and prints "Connected to MODEL!".
Models KT350-MKD, KT350-MK and KT750-MK then report their firmware version
("Firmware: V" and the number), with a warning on standard error when it is
older than this program's. The last line gives the speed that answered.
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
        for (const auto& port : ports) {
            context.out << port;
            if (const PortAccess access = CheckPortAccess(port); access.denied)
                context.out << "  (no permission, group " << access.group << ')';
            context.out << '\n';
        }
        return kExitOk;
    };
}

// Connect's window changes, on a terminal: the controls it shows and hides do not
// exist here; the firmware version is printed.
class TerminalConnectView final : public TConnectView {
public:
    explicit TerminalConnectView(std::ostream& out) : out_(out) {}

    void SetGuestSlotVisible(bool) override {}
    void SetPictureNumberVisible(bool) override {}
    void SetFirmwareTabVisible(bool) override {}
    void SelectBaudRate(int) override {}
    void SelectModel(int) override {}
    void ShowFirmwareInfo(const std::string&, const std::string& currentVersion) override {
        out_ << "Firmware: " << currentVersion << '\n';
    }

private:
    std::ostream& out_;
};

// The window's Connect: the greeting and the firmware version on stdout, the
// outdated-firmware warning and the failure on stderr, then the speed found.
CliAction connect(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return [](CliContext& context) {
        TTerminalOperator op(context.out, context.err);
        TerminalConnectView view(context.out);
        if (RunConnect(context.connection, op, view) < 0)
            return kExitFailed;
        context.out << "Baud rate: " << context.connection.CurrentBaudRate << '\n';
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

std::vector<CliCommand> ConnectCommands() {
    return {
        {"ports", "list the serial ports", kPortsHelp, CliNeeds::Nothing, listPorts},
        {"connect", "find and identify the display", kConnectHelp, CliNeeds::Port, connect},
        {"version", "print the display's firmware version", kVersionHelp, CliNeeds::Display,
         readVersion},
        {"get-config", "print the display's settings text", kGetConfigHelp, CliNeeds::Display,
         getConfiguration},
    };
}

} // namespace tavisto::cli
