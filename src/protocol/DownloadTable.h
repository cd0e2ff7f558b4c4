#pragma once

#include <array>

namespace tavisto {

// One downloadable item: its name (list text, resource base, log name), its flash
// address for the addressed transfer ("0xFFFFFFFF": not supported there) and its
// file name for the named transfer.
struct TDownFiles {
    const char* Name;
    const char* Address;
    const char* FileName;
};

inline constexpr int kDownFileCount = 93;

// Named positions of the table: rows 1 to 76 are fonts, 77 to 90 the picture slots
// (see PictureSlots.h), then a settings file, the Big5/GBK table and the firmware.
inline constexpr int kLastFontPosition = 76;
inline constexpr int kSettingsPosition = 91;
inline constexpr int kTablePosition = 92;
inline constexpr int kFirmwarePosition = 93;

// The built-in download file table, positions 1 to 93 stored at indices 0 to 92.
extern const std::array<TDownFiles, kDownFileCount> DownFiles;

// The row at table position 1..93; throws std::out_of_range outside.
const TDownFiles& DownFileAt(int position);

} // namespace tavisto
