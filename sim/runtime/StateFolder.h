#pragma once

#include "sim/device/DeviceSettings.h"
#include "sim/device/Storage.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavisto::sim {

// What a display keeps over a power cycle, in a folder a person can look into:
//   settings.ini         the settings text, as the display reports it
//   files/NAME           each file stored by name (bytes of the name outside letters,
//                        digits, '.', '_' and '-', and a leading '.', as %XX)
//   flash/XXXXXXXX.bin   each item stored by address, named by the address in hex
//   firmware.bin         the last firmware image taken in
// Every file is written whole under a temporary name and then renamed over the old
// one, so a run that is killed leaves the last complete state behind.
class StateFolder {
public:
    // Opens the folder, making it when missing, and reads what it holds. False with a
    // message naming the file at fault; nothing in the folder is changed then.
    bool open(const std::string& dir, std::string& error);

    // What was read (no settings when the folder held none).
    const std::optional<DeviceSettings>& settings() const { return settings_; }
    const Storage& storage() const { return storage_; }

    // Writes what differs from the folder's contents and removes items that are gone.
    // False with a message on failure; what was already there stays whole.
    bool save(const DeviceSettings& settings, const Storage& storage, std::string& error);

    // The file name an item stored by name is kept under, and back (false when the
    // name is not one this folder writes).
    static std::string fileNameOf(const std::string& name);
    static bool nameOfFile(const std::string& fileName, std::string& name);

private:
    bool saveStorage(const Storage& storage, std::string& error);

    std::string dir_;
    std::optional<DeviceSettings> settings_;     // as in the folder
    Storage storage_;                            // as in the folder
    std::optional<std::uint64_t> savedRevision_; // the display's storage last saved whole
};

} // namespace tavisto::sim
