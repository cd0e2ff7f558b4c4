#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavisto::fonts {

// What a font image maps its cells to: "cp:N" (the 256 bytes of code page N),
// "katakana", "intl:SET" (the twelve code points the international set replaces)
// or "gbk" (the GBK grid). Each cell gets one Unicode code point, or 0 for a
// blank cell (controls, unassigned bytes, holes of the grid).
std::optional<std::vector<char32_t>> CellCodePoints(const std::string& mapping);

// The Big5/GBK conversion table: for every Big5 code of the grid (lead 0x81..0xFE
// by trail 0x40..0xFE, row by row) its GBK code, high byte first; 00 00 where Big5
// has no character there or GBK cannot hold it.
std::vector<std::uint8_t> Big5ToGbkTable();

} // namespace tavisto::fonts
