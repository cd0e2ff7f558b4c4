#pragma once

#include <string_view>

namespace tavisto::sim {

// The seven display models, by model index.
inline constexpr int kModelCount = 7;

// The name a model reports when asked; empty for an index out of range.
std::string_view modelName(int model);

// The index of a model name (exact comparison), or -1.
int modelIndexOf(std::string_view name);

// Pictures, fonts and firmware reach the flash either by address (the display pulls
// numbered blocks) or by file name (the host pushes the file raw).
bool usesNamedTransfer(int model);

// Only this model takes its firmware through the wake-up and announce start.
bool usesFirmwareWakeUp(int model);

// Models that draw QR codes from a text themselves; the others take a QR picture.
bool drawsQrCodes(int model);

} // namespace tavisto::sim
