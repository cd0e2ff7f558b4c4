#pragma once

#include "files/FileRead.h"

#include <filesystem>
#include <string_view>

namespace tavisto {

// The settings file dialogs' filter and proposed name.
inline constexpr std::string_view kSettingsFileFilter = "Settings Files(*.ini)|*.ini";
inline constexpr std::string_view kSettingsProposedName = "Tavisto";

// A settings file is a few hundred bytes; anything far larger is not one.
inline constexpr FileSizeLimit kSettingsFileLimit{1024 * 1024, "a settings file"};

// The name a settings file is saved under: a name without extension gets ".ini"
// appended, any other extension than exactly ".ini" is replaced by it. A name that
// starts with its only dot (".hidden") has no extension.
std::filesystem::path SettingsFileName(const std::filesystem::path& chosen);

// A name to save a settings file under must have a file part: "dir/", "." and ".."
// name folders, and adding ".ini" to them would write the hidden "dir/.ini" or
// "..ini". Returns false for those, with a message that names the path.
bool HasFileNamePart(const std::filesystem::path& chosen, std::string& message);

} // namespace tavisto
