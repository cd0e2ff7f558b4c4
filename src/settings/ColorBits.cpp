#include "settings/ColorBits.h"

namespace tavisto {

std::uint16_t ColorToRgb565(TColor color) {
    const TColor red = color & 0xFF;
    const TColor green = (color >> 8) & 0xFF;
    const TColor blue = (color >> 16) & 0xFF;
    return static_cast<std::uint16_t>(((red >> 3) << 11) + ((green >> 2) << 5) + (blue >> 3));
}

TColor Rgb565ToColor(std::uint16_t value) {
    const TColor red = (value & 0xF800u) >> 8;
    const TColor green = (value & 0x07E0u) >> 3;
    const TColor blue = (value & 0x001Fu) << 3;
    return red + (green << 8) + (blue << 16);
}

bool GetBit(std::uint8_t value, int n) {
    if (n < 1 || n > 8)
        return false;
    return ((value >> (n - 1)) & 1u) != 0;
}

void SetBit(std::uint8_t& value, int n, bool on) {
    if (n < 1 || n > 8)
        return;
    const auto mask = static_cast<std::uint8_t>(1u << (n - 1));
    value = on ? static_cast<std::uint8_t>(value | mask) : static_cast<std::uint8_t>(value & ~mask);
}

} // namespace tavisto
