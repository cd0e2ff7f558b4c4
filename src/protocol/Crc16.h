#pragma once

#include "link/Bytes.h"

#include <cstdint>

namespace tavisto {

// CRC-16/CCITT-FALSE: polynomial 0x1021, initial 0xFFFF, no reflection, no final XOR.
// Crc16Init builds the lookup table; Crc16 builds it on first use if nobody did.
void Crc16Init();
std::uint16_t Crc16(const Bytes& bytes);
// The same CRC as two bytes, high byte first.
Bytes Crc16Bytes(std::uint16_t crc);

} // namespace tavisto
