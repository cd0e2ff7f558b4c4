#pragma once

#include "cli/CliCommand.h"

#include <string_view>
#include <vector>

namespace tavisto::cli {

// Every command of tavisto-cli, in the order the help lists them.
const std::vector<CliCommand>& CommandTable();

// The row of a command, or nullptr.
const CliCommand* FindCommand(std::string_view name);

// The groups the table is made of, each in its own file.
std::vector<CliCommand> DiscoveryCommands();    // ports, connect, version, get-config
std::vector<CliCommand> ScreenCommands();       // one-shot commands: text, clear, raw, ...
std::vector<CliCommand> SettingCommands();      // colours, welcome lines, modes, speeds
std::vector<CliCommand> PictureCommands();      // pictures, idle play, QR codes, storage
std::vector<CliCommand> SettingsFileCommands(); // defaults, get-settings, apply
std::vector<CliCommand> ConvertCommands();      // convert

} // namespace tavisto::cli
