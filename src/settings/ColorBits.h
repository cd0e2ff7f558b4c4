#pragma once

#include "settings/DisplayInfo.h"

#include <cstdint>

namespace tavisto {

// 0x00BBGGRR to RGB565 (red in the top five bits, blue in the bottom five).
std::uint16_t ColorToRgb565(TColor color);

// RGB565 to 0x00BBGGRR. The freed low bits stay zero: 0xFFFF gives 0xF8FCF8.
TColor Rgb565ToColor(std::uint16_t value);

// Bit n-1 of value, n counted from 1. Any n outside 1..8 reads as false.
bool GetBit(std::uint8_t value, int n);

// Sets (on) or clears bit n-1 of value, leaving the other bits alone. Any n outside
// 1..8 leaves value unchanged.
void SetBit(std::uint8_t& value, int n, bool on);

} // namespace tavisto
