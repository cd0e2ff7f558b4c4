#include "settings/ColorBits.h"

#include <gtest/gtest.h>

namespace tavisto {
namespace {

TEST(ColorBits, ColorToRgb565PutsRedHighAndBlueLow) {
    EXPECT_EQ(ColorToRgb565(0xFFFFFF), 0xFFFF);
    EXPECT_EQ(ColorToRgb565(0x0000FF), 0xF800); // red
    EXPECT_EQ(ColorToRgb565(0x00FF00), 0x07E0); // green
    EXPECT_EQ(ColorToRgb565(0xFF0000), 0x001F); // blue
    EXPECT_EQ(ColorToRgb565(0xF8FC00), 0x07FF);
    EXPECT_EQ(ColorToRgb565(0x070307), 0x0000);   // bits below the 565 precision
    EXPECT_EQ(ColorToRgb565(0xFF0000FF), 0xF800); // the top byte is not a colour
}

TEST(ColorBits, Rgb565ToColorLeavesTheFreedLowBitsZero) {
    EXPECT_EQ(Rgb565ToColor(0xFFFF), 0xF8FCF8u);
    EXPECT_EQ(Rgb565ToColor(2047), 0xF8FC00u);
    EXPECT_EQ(Rgb565ToColor(31), 0xF80000u);
    EXPECT_EQ(Rgb565ToColor(0xF800), 0x0000F8u);
    EXPECT_EQ(Rgb565ToColor(0x0020), 0x000400u); // lowest green bit
}

TEST(ColorBits, Rgb565SurvivesTheRoundTripButColoursLoseTheirLowBits) {
    for (unsigned v = 0; v <= 0xFFFF; ++v)
        ASSERT_EQ(ColorToRgb565(Rgb565ToColor(static_cast<std::uint16_t>(v))), v);
    EXPECT_EQ(Rgb565ToColor(ColorToRgb565(0x123456)), 0x103450u);
}

TEST(ColorBits, GetBitCountsFromOne) {
    EXPECT_TRUE(GetBit(4, 3));
    EXPECT_FALSE(GetBit(4, 1));
    EXPECT_TRUE(GetBit(0x80, 8));
    EXPECT_FALSE(GetBit(0xFF, 0)); // outside 1..8
    EXPECT_FALSE(GetBit(0xFF, 9));
}

TEST(ColorBits, SetBitChangesOnlyItsBit) {
    std::uint8_t value = 0x0F;
    SetBit(value, 4, false);
    EXPECT_EQ(value, 0x07);
    SetBit(value, 8, true);
    EXPECT_EQ(value, 0x87);
    SetBit(value, 1, true); // already set
    EXPECT_EQ(value, 0x87);
    SetBit(value, 0, false);
    SetBit(value, 9, true);
    EXPECT_EQ(value, 0x87);
}

} // namespace
} // namespace tavisto
