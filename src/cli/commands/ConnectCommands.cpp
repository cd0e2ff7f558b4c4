#include "app/connect/ConnectWorkflow.h"
#include "app/connect/IdentifyDisplay.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/shell/TerminalOperator.h"
#include "link/PortAccess.h"
#include "protocol/DisplayCommands.h"
#include "protocol/ModelTable.h"
#include "protocol/Session.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

namespace tavisto::cli {
namespace {

constexpr std::string_view kPortsHelp = R"(usage: tavisto-cli ports [--json]

Lists the machine's serial ports, one device path a line, sorted by name.
The first one is the port the other commands use when --port is not given
(they say so on standard error). A port this user may not open is followed by
(no permission, group NAME); joining that group and logging in again
usually lets the user open it.

With --json: {"ports": [{"port": PATH, "no_permission": true|false,
"group": NAME|null}]} instead.
)";

constexpr std::string_view kConnectHelp = R"(usage: tavisto-cli [--port PATH] connect [--json]

Finds the display and identifies it, as the window's Connect button does: it
tries 9600, 19200, 38400, 57600 and 115200 baud in turn (so --baud is not
taken), clears the display's screen, and prints "Connected to MODEL!".
Models KT350-MKD, KT350-MK and KT750-MK then report their firmware version
("Firmware: V" and the number), with a warning on standard error when it is
older than this program's. The last line gives the speed that answered.

With --json: {"model": NAME, "firmware": "V14"|null, "baud": RATE} instead
of the three lines; the warning still goes to standard error.
)";

constexpr std::string_view kVersionHelp =
    R"(usage: tavisto-cli [--port PATH] [--baud RATE] version [--json]

Prints the display's firmware version as "V" followed by the number. Only
KT350-MKD, KT350-MK and KT750-MK report a version. With --json:
{"firmware": "V14"}.
)";

constexpr std::string_view kGetConfigHelp =
    R"(usage: tavisto-cli [--port PATH] [--baud RATE] get-config [--json]

Prints the settings text the display reports (a JSON object with members such
as "Baud_Rate", "wel_mess1" and "main_str"). With --json: {"settings": the
object}, or {"settings": the text} when the display's text is no JSON.
)";

// Whether the command's only option, --json, is given.
bool jsonWanted(const std::vector<std::string>& args) {
    return parseArgs(args, {{"--json", 0}}, 0, 0).has("--json");
}

nlohmann::ordered_json textOrNull(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

CliAction listPorts(const std::vector<std::string>& args) {
    const bool json = jsonWanted(args);
    return [json](CliContext& context) {
        std::vector<std::string> ports;
        std::string message;
        if (!context.enumPorts(ports, message)) {
            context.err << message << '\n';
            return kExitFailed;
        }
        if (json) {
            auto list = nlohmann::ordered_json::array();
            for (const auto& port : ports) {
                const PortAccess access = CheckPortAccess(port);
                list.push_back({{"port", port},
                                {"no_permission", access.denied},
                                {"group", access.denied ? nlohmann::ordered_json(access.group)
                                                        : nlohmann::ordered_json(nullptr)}});
            }
            context.out << nlohmann::ordered_json{{"ports", list}}.dump(2) << '\n';
            return kExitOk;
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

    std::optional<std::string> firmware; // the version shown, "V14"

    void SetGuestSlotVisible(bool) override {}
    void SetPictureNumberVisible(bool) override {}
    void SetFirmwareTabVisible(bool) override {}
    void SelectBaudRate(int) override {}
    void SelectModel(int) override {}
    void ShowFirmwareInfo(const std::string&, const std::string& currentVersion) override {
        firmware = currentVersion;
        out_ << "Firmware: " << currentVersion << '\n';
    }

private:
    std::ostream& out_;
};

// The window's Connect: the greeting and the firmware version on stdout, the
// outdated-firmware warning and the failure on stderr, then the speed found.
CliAction connect(const std::vector<std::string>& args) {
    const bool json = jsonWanted(args);
    return [json](CliContext& context) {
        // With --json the lines are left out and their fields printed as JSON.
        std::ostringstream lines;
        std::ostream& out = json ? lines : context.out;
        TTerminalOperator op(out, context.err);
        TerminalConnectView view(out);
        const int model = RunConnect(context.connection, op, view);
        if (model < 0)
            return kExitFailed;
        if (json) {
            context.out << nlohmann::ordered_json{{"model", FindModel(model)->name},
                                                  {"firmware", textOrNull(view.firmware)},
                                                  {"baud", context.connection.CurrentBaudRate}}
                               .dump(2)
                        << '\n';
            return kExitOk;
        }
        context.out << "Baud rate: " << context.connection.CurrentBaudRate << '\n';
        return kExitOk;
    };
}

CliAction readVersion(const std::vector<std::string>& args) {
    const bool json = jsonWanted(args);
    return [json](CliContext& context) {
        TDisplayIdentity identity;
        ReadFirmwareVersion(context.connection, kVersionAttempts, identity);
        if (!identity.firmwareVersion)
            return reportOutcome(context, false, identity.versionCause);
        const std::uint32_t version = *identity.firmwareVersion;
        if (json)
            context.out << nlohmann::ordered_json{{"firmware", "V" + std::to_string(version)}}.dump(
                               2)
                        << '\n';
        else
            context.out << 'V' << version << '\n';
        return kExitOk;
    };
}

CliAction getConfiguration(const std::vector<std::string>& args) {
    const bool json = jsonWanted(args);
    return [json](CliContext& context) {
        std::string message;
        std::string text;
        LcdGetConfiguration(context.connection, message, text);
        if (text.empty())
            return reportOutcome(context, false, message);
        while (!text.empty() && text.back() == '\0')
            text.pop_back();
        if (json) {
            auto settings = nlohmann::ordered_json::parse(text, nullptr, false);
            if (settings.is_discarded())
                settings = text;
            // A text in a display code page is no UTF-8: such bytes print as U+FFFD.
            context.out << nlohmann::ordered_json{{"settings", settings}}.dump(
                               2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                        << '\n';
            return kExitOk;
        }
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
