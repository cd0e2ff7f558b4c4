#pragma once

#include "link/Connection.h"

#include <optional>
#include <string>

namespace tavisto::cli {

// What one port holds, as far as the display on it tells without being changed.
struct InventoryEntry {
    std::string port;
    std::optional<std::string> model;    // nothing when no display answered
    std::optional<std::string> firmware; // "V14", for the models that report one
    int baud = 0;                        // the speed it answered at
    std::optional<std::string> settingsDigest;
    std::string error; // why the port has no model, or what could not be read
};

// Identifies the display on `port` and reads its firmware version and settings text,
// on a connection of its own; sends nothing that changes the display's settings (a
// display a killed transfer left at 115200 is set back to its own speed first).
InventoryEntry TakeInventory(const std::string& port, link::PortOpener& opener, Clock& clock,
                             std::uint16_t langId);

// A digest of a settings text for comparing displays: 16 hex digits of its 64-bit
// FNV-1a hash. Equal texts give equal digests; it is no protection against forgery.
std::string SettingsDigest(const std::string& text);

} // namespace tavisto::cli
