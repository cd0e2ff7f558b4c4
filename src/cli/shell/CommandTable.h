#pragma once

#include "cli/shell/CliCommand.h"

#include <string_view>
#include <vector>

namespace tavisto::cli {

// Every command of tavisto-cli, in the order the help lists them.
//
// Adding a command: write its parse function, which checks every argument (throwing
// UsageError) and returns the CliAction (`load` reads its input files, `run` does the
// work), and add its row {name, summary, help, needs, parse} to a group below. The
// help starts with the usage line and fits 80 columns. A new group is one more
// function here and one more entry in the table's list of groups.
const std::vector<CliCommand>& CommandTable();

// The row of a command, or nullptr.
const CliCommand* FindCommand(std::string_view name);

// The groups the table is made of, one file per capability of the window.
std::vector<CliCommand> ConnectCommands();   // ports, connect, version, get-config
std::vector<CliCommand> SettingsCommands();  // brightness, code page, colours, modes, restart,
                                             // factory reset, settings files
std::vector<CliCommand> PicturesCommands();  // stored pictures, idle play, slots, convert
std::vector<CliCommand> StorageCommands();   // downloads, firmware, storage format
std::vector<CliCommand> TestingCommands();   // text, raw bytes, samples, QR codes
std::vector<CliCommand> ProvisionCommands(); // provisioning profiles, provision
std::vector<CliCommand> InventoryCommands(); // what the displays on many ports hold

} // namespace tavisto::cli
