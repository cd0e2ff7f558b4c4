#pragma once

#include <cstdint>
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

// Whether the display's UART can run at this speed: 1200 to 921600 baud in the
// usual steps, every one of which a host's serial port can be set to as well.
bool isLineSpeed(std::uint64_t rate);

} // namespace tavisto::sim
