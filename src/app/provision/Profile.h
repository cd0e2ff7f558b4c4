#pragma once

#include "app/settings/SettingsForm.h"
#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "protocol/ModelTable.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavisto::provision {

// The settings file of a profile, loaded into the form and record as the window's
// Load Setting leaves them, and the settings All Download leaves out that the profile
// asks for as well.
struct ProfileSettings {
    std::filesystem::path file;
    TSettingsForm form;
    TDisplayInfo info;
    bool commandMode = false; // the emulated command set
    bool mainText = false;    // the main text (with its colours and lines)
    bool baudRate = false;    // the display's line speed, sent after everything else
};

// A picture cut to one slot size.
struct SizedPicture {
    PixelSize size;
    Bitmap bitmap;
};

struct ProfilePicture {
    int slot = 0; // 73..86
    std::filesystem::path file;
    // The picture decoded and cut to its slot's size once for the whole run: for the
    // profile's model, or, when the profile names none, for every size the slot has
    // among the models. The workers only read it.
    std::vector<SizedPicture> prepared;

    // The picture of `size`; nothing when it was not prepared for that size.
    const Bitmap* sizedFor(PixelSize size) const;
};

struct ProfilePlay {
    std::uint16_t pictures = 0; // bit k: picture k + 1
    int standby = 0;            // seconds, 0..120
    int interval = 1;           // seconds, 1..10
};

// A download item sent from a file.
struct ProfileItem {
    int position = 0; // 1..93 of the download table, no picture slot
    std::filesystem::path file;
    Bytes contents;
};

struct ProfileFirmware {
    std::filesystem::path file;
    Bytes contents;
    std::uint32_t version = 0; // sent to a display that reports less
};

// What a display should end up with, read from a JSON profile with every file it
// names. Paths in the profile are relative to the profile's folder.
struct Profile {
    std::filesystem::path file;
    std::optional<std::string> model; // the model name every display must have
    std::optional<ProfileSettings> settings;
    std::vector<ProfilePicture> pictures; // by ascending slot
    std::optional<ProfilePlay> play;
    bool builtInFonts = false;          // "fonts": true
    std::vector<ProfileItem> fontItems; // "fonts": [{"item": ..., "file": ...}]
    std::optional<ProfileFirmware> firmware;
};

// The whole of a file the user named as input, in `text`. What is not there, a folder
// and anything else that is no regular file (a named pipe would block the read for
// ever) are refused before it is opened; `error` then says why, without the path.
bool ReadInputFile(const std::filesystem::path& file, std::string& text, std::string& error);

// Reads and checks the profile and every file it names. On failure `error` names the
// profile, the key and, for a file, the file and what is wrong with it.
bool LoadProfile(const std::filesystem::path& file, Profile& profile, std::string& error);

// The same for a profile's text that was read from `file`: the files it names are
// found from `file`'s folder. On failure `profile` is left empty.
bool ReadProfileText(const std::string& text, const std::filesystem::path& file, Profile& profile,
                     std::string& error);

} // namespace tavisto::provision
