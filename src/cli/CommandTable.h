#pragma once

#include "cli/CliCommand.h"

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

// The groups the table is made of, each in its own file.
std::vector<CliCommand> DiscoveryCommands();    // ports, connect, version, get-config
std::vector<CliCommand> ScreenCommands();       // one-shot commands: text, clear, raw, ...
std::vector<CliCommand> SettingCommands();      // colours, welcome lines, modes, speeds
std::vector<CliCommand> PictureCommands();      // pictures, idle play, QR codes
std::vector<CliCommand> SettingsFileCommands(); // defaults, get-settings, apply
std::vector<CliCommand> TransferCommands();     // downloads, firmware, storage format
std::vector<CliCommand> SlotCommands();         // send-picture, play-setting
std::vector<CliCommand> ConvertCommands();      // convert

} // namespace tavisto::cli
