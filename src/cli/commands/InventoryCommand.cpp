#include "app/provision/Inventory.h"
#include "app/provision/ParallelRun.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/commands/FleetPorts.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace tavisto::cli {
namespace {

using namespace provision;

constexpr std::string_view kInventoryHelp =
    R"(usage: tavisto-cli inventory --ports P1,P2,... | --all-ports [--json]

Finds the display on every port, all ports at once, and prints a line per port:
the port, the model, the firmware version, the line speed it answered at and a
digest of its settings text (16 hex digits; equal settings give equal
digests). A port where no display answered shows "-" and the reason. Nothing is
sent that changes a display.

  --json  one JSON document instead: {"displays": [{"port", "model",
          "firmware", "baud", "settings_digest"}]}, with "model": null and an
          "error" for a port where no display answered

Exits with 0 when a display answered on every port.
)";

std::string orDash(const std::optional<std::string>& text) {
    return text.value_or("-");
}

nlohmann::ordered_json orJsonNull(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

void printJson(std::ostream& out, const std::vector<InventoryEntry>& entries) {
    nlohmann::ordered_json displays = nlohmann::ordered_json::array();
    for (const InventoryEntry& entry : entries) {
        nlohmann::ordered_json display = nlohmann::ordered_json::object();
        display["port"] = entry.port;
        display["model"] = orJsonNull(entry.model);
        display["firmware"] = orJsonNull(entry.firmware);
        display["baud"] =
            entry.model ? nlohmann::ordered_json(entry.baud) : nlohmann::ordered_json(nullptr);
        display["settings_digest"] = orJsonNull(entry.settingsDigest);
        if (!entry.error.empty())
            display["error"] = entry.error;
        displays.push_back(std::move(display));
    }
    out << nlohmann::ordered_json{{"displays", displays}}.dump(2) << '\n';
}

void printTable(std::ostream& out, const std::vector<InventoryEntry>& entries) {
    std::vector<std::vector<std::string>> rows = {
        {"PORT", "MODEL", "FIRMWARE", "BAUD", "SETTINGS", "ERROR"}};
    for (const InventoryEntry& entry : entries)
        rows.push_back({entry.port, orDash(entry.model), orDash(entry.firmware),
                        entry.model ? std::to_string(entry.baud) : "-",
                        orDash(entry.settingsDigest), entry.error.empty() ? "-" : entry.error});
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += row[i] +
                    (i + 1 < row.size() ? std::string(widths[i] - row[i].size() + 2, ' ') : "");
        out << line << '\n';
    }
}

CliAction inventory(const std::vector<std::string>& args) {
    const ParsedArgs parsed =
        parseArgs(args, {{"--ports", 1}, {"--all-ports", 0}, {"--json", 0}}, 0, 0);
    if (parsed.has("--ports") == parsed.has("--all-ports"))
        throw UsageError("name the ports with either --ports or --all-ports");
    PortChoice choice;
    if (parsed.has("--ports"))
        choice.listed = ParsePortList(parsed.options.at("--ports")[0]);
    choice.all = parsed.has("--all-ports");
    const bool json = parsed.has("--json");
    return [choice, json](CliContext& context) {
        std::vector<std::string> ports;
        if (!ChosenPorts(context, choice, ports))
            return kExitFailed;
        std::vector<InventoryEntry> entries(ports.size());
        link::PortOpener& opener = context.connection.opener();
        Clock& clock = context.connection.clock();
        const std::uint16_t langId = context.connection.SystemLangId;
        RunInParallel(ports.size(), 0, [&](std::size_t i) {
            entries[i] = TakeInventory(ports[i], opener, clock, langId);
        });
        if (json)
            printJson(context.out, entries);
        else
            printTable(context.out, entries);
        const bool all = std::all_of(entries.begin(), entries.end(),
                                     [](const InventoryEntry& entry) { return entry.model; });
        return all ? kExitOk : kExitFailed;
    };
}

} // namespace

std::vector<CliCommand> InventoryCommands() {
    return {
        {"inventory", "list the displays on many ports", kInventoryHelp, CliNeeds::Nothing,
         inventory},
    };
}

} // namespace tavisto::cli
