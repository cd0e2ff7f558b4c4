#include "cli/shell/CommandTable.h"

namespace tavisto::cli {

namespace {

std::vector<CliCommand> buildTable() {
    std::vector<CliCommand> table;
    for (auto group : {ConnectCommands, SettingsCommands, PicturesCommands, StorageCommands,
                       TestingCommands, ProvisionCommands, InventoryCommands}) {
        auto rows = group();
        table.insert(table.end(), rows.begin(), rows.end());
    }
    return table;
}

} // namespace

const std::vector<CliCommand>& CommandTable() {
    static const std::vector<CliCommand> table = buildTable();
    return table;
}

const CliCommand* FindCommand(std::string_view name) {
    for (const auto& command : CommandTable()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

int reportOutcome(CliContext& context, bool ok, const std::string& message) {
    (ok ? context.out : context.err) << message << '\n';
    return ok ? kExitOk : kExitFailed;
}

} // namespace tavisto::cli
