#pragma once

#include "pictures/Bitmap.h"
#include "settings/DisplayInfo.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavisto::provision {

// What a written profile brings to every display: the settings record (sent with the
// command mode, main text and line speed), its idle play, the model and the pictures
// of some slots.
struct ProfileSource {
    std::optional<std::string> model;             // the model name; none leaves "model" out
    TDisplayInfo info;                            // the settings record, collected from its form
    std::vector<std::pair<int, Bitmap>> pictures; // slot 73..86 and its picture
};

// The settings file written beside a profile: PROFILE with ".ini" for its extension.
std::filesystem::path SettingsFileFor(const std::filesystem::path& profile);

// Writes the profile `file` with its settings file beside it (SettingsFileFor) and
// each picture beside it as a BMP named after the profile and the slot. `settingsFile`
// receives the settings file's path as written. False with `error` naming the file
// that could not be written.
bool WriteProfile(const std::filesystem::path& file, const ProfileSource& source,
                  std::filesystem::path& settingsFile, std::string& error);

} // namespace tavisto::provision
