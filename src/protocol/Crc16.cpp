#include "protocol/Crc16.h"

#include <array>

namespace tavisto {

namespace {

using Table = std::array<std::uint16_t, 256>;

// Entry n is the CRC register after shifting the byte n through the polynomial
// 0x1021 most significant bit first, starting from zero.
Table buildTable() {
    Table table{};
    for (unsigned n = 0; n < 256; ++n) {
        std::uint16_t crc = static_cast<std::uint16_t>(n << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        table[n] = crc;
    }
    return table;
}

// Built once, on first use (thread-safe static initialisation).
const Table& table() {
    static const Table instance = buildTable();
    return instance;
}

} // namespace

void Crc16Init() {
    table();
}

std::uint16_t Crc16(const Bytes& bytes) {
    const Table& t = table();
    std::uint16_t crc = 0xFFFF;
    for (unsigned char byte : bytes)
        crc = static_cast<std::uint16_t>((crc << 8) ^ t[((crc >> 8) ^ byte) & 0xFF]);
    return crc;
}

Bytes Crc16Bytes(std::uint16_t crc) {
    return Bytes{static_cast<char>(crc >> 8), static_cast<char>(crc & 0xFF)};
}

} // namespace tavisto
