#pragma once

#include <cstdint>
#include <string_view>

namespace tavisto::sim {

// CRC-16/CCITT-FALSE (polynomial 0x1021, initial 0xFFFF, no reflection, no final
// XOR): the checksum the display keeps over frames and stored files. Kept apart from
// the host's own implementation so that a fault there shows up as a mismatch.
std::uint16_t crc16(std::string_view data, std::uint16_t crc = 0xFFFF);

} // namespace tavisto::sim
