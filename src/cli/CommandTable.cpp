#include "cli/CommandTable.h"

#include "cli/ConvertCommand.h"
#include "cli/SettingsCommands.h"

namespace tavisto::cli {

namespace {

std::vector<CliCommand> buildTable() {
    std::vector<CliCommand> table;
    for (auto group : {DiscoveryCommands, ScreenCommands, SettingCommands, PictureCommands}) {
        auto rows = group();
        table.insert(table.end(), rows.begin(), rows.end());
    }
    // The settings-file commands: one FILE argument, checked before any port is opened.
    for (const TSettingsCliCommand& row : SettingsCliCommands()) {
        table.push_back({row.name, row.summary, row.help,
                         row.needsDisplay ? CliNeeds::Display : CliNeeds::Nothing,
                         [row](const std::vector<std::string>& args) -> CliAction {
                             if (args.size() != 1)
                                 throw UsageError("expects one settings FILE");
                             return [row, args](CliContext& context) {
                                 return row.run(context.connection, args, context.out, context.err);
                             };
                         }});
    }
    // Commands that need no display.
    table.push_back(standaloneCommand("convert",
                                      "scale and crop a picture to a slot size and save it",
                                      kConvertHelp, runConvertCommand));
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
