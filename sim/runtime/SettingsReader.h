#pragma once

#include "sim/device/DeviceSettings.h"

#include <string>

namespace tavisto::sim {

// Reads a configuration text as settingsText writes it (any JSON whitespace, the usual
// string escapes, \u escapes up to 00FF for the 8-bit text). Every member must be a
// known one with a value in its range; members left out keep the values in `out`.
// False with a message naming what is wrong, and `out` unchanged.
bool readSettingsText(const Bytes& text, DeviceSettings& out, std::string& error);

} // namespace tavisto::sim
