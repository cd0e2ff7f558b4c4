#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

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

// The flash address of a row for the addressed transfer, or nothing when the row is
// not supported there ("0xFFFFFFFF").
std::optional<std::uint32_t> AddressOfPosition(int position);

// How many bytes the row's file may take on an addressed display: the room up to
// the next higher address any other item of the table is stored at. Nothing when the
// row has no address, when it is the firmware (which goes to its own storage) or
// when no item is stored above it (its end is not known).
std::optional<std::uint32_t> AddressedRoom(int position);

// Empty when a file of `size` bytes fits the row's room on an addressed display;
// otherwise the operator text that says why it is refused (the item, its room, the
// item it would overwrite and the file's size).
std::string AddressedRoomProblem(int position, std::uint64_t size);

} // namespace tavisto
