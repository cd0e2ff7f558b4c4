#pragma once

#include "link/Bytes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavisto {

// The settings file dialogs' filter and proposed name.
inline constexpr std::string_view kSettingsFileFilter = "Settings Files(*.ini)|*.ini";
inline constexpr std::string_view kSettingsProposedName = "Tavisto";

// A settings file is a few hundred bytes; anything far larger is not one.
inline constexpr std::size_t kSettingsFileLimit = 1024 * 1024;

// The name a settings file is saved under: a name without extension gets ".ini"
// appended, any other extension than exactly ".ini" is replaced by it. A name that
// starts with its only dot (".hidden") has no extension.
std::filesystem::path SettingsFileName(const std::filesystem::path& chosen);

// A name to save a settings file under must have a file part: "dir/", "." and ".."
// name folders, and adding ".ini" to them would write the hidden "dir/.ini" or
// "..ini". Returns false for those, with a message that names the path.
bool HasFileNamePart(const std::filesystem::path& chosen, std::string& message);

// Writes the bytes so that `path` ends up either complete or untouched, never half
// written or empty: they go to a new temporary file in the same folder, are flushed
// to the disk and the temporary file is renamed over `path` (through a symbolic
// link, the file it points to). An existing file keeps its permissions. On failure
// no temporary file is left and the message says what went wrong.
bool WriteFileAtomically(const std::filesystem::path& path, const Bytes& bytes,
                         std::string& message);

// Reads the whole file. Fails with the system's reason when it cannot be opened or
// read, and for a file larger than `limit`.
bool ReadWholeFile(const std::filesystem::path& path, Bytes& bytes, std::string& message,
                   std::size_t limit = kSettingsFileLimit);

} // namespace tavisto
