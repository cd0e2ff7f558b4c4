#include "protocol/Crc16.h"
#include "protocol/Hex.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <random>

namespace tavisto {
namespace {

using testing::wire;
using namespace std::string_literals;

TEST(HexText, BytesToHexIsUpperCaseWithoutSeparators) {
    EXPECT_EQ(BytesToHex(wire("02 07 16 01")), "02071601");
    EXPECT_EQ(BytesToHex(wire("AB ff 00")), "ABFF00");
    EXPECT_EQ(BytesToHex(""), "");
}

TEST(HexText, StrictConversionsRejectNonHexDigits) {
    EXPECT_EQ(HexToBytes("0A1"), wire("0A 01"));
    EXPECT_EQ(HexToBytes("ff00c2"), wire("FF 00 C2"));
    EXPECT_EQ(HexToBytes(""), "");
    EXPECT_THROW(HexToBytes("0G"), HexError);
    EXPECT_THROW(HexToBytes("02 07"), HexError);

    EXPECT_EQ(HexToValue(""), 0u);
    EXPECT_EQ(HexToValue("1c200"), 0x1C200u);
    EXPECT_EQ(HexToValue("123456789"), 0x23456789u); // kept to 32 bits
    try {
        HexToValue("12-3");
        FAIL() << "no error raised";
    } catch (const HexError& error) {
        EXPECT_STREQ(error.what(), "Error: not a Hex String");
    }
}

TEST(HexText, LenientConversionSkipsSeparatorsAndTakesLoneDigits) {
    EXPECT_EQ(HexTextToBytes("02 07:1a"), wire("02 07 1A"));
    EXPECT_EQ(HexTextToBytes("A B"), wire("0A 0B"));
    EXPECT_EQ(HexTextToBytes("ABC"), wire("AB 0C"));
    EXPECT_EQ(HexTextToBytes("--zz--"), "");
    // Scanning goes on two characters after a digit: "1 2" gives 01, then 02.
    EXPECT_EQ(HexTextToBytes("1 2"), wire("01 02"));
}

TEST(HexText, HexToIntReadsOneSigned32BitNumber) {
    EXPECT_EQ(HexToInt("7fffffff"), 0x7FFFFFFF);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(HexToInt("0e"), 14);
    EXPECT_THROW(HexToInt(""), std::invalid_argument);
    EXPECT_THROW(HexToInt("x1"), std::invalid_argument);
    EXPECT_THROW(HexToInt("100000000"), std::out_of_range);
}

TEST(HexText, PaddedHexNumbers) {
    EXPECT_EQ(IntToHexPadded(115200, 4), "0001C200");
    EXPECT_EQ(IntToHexPadded(0x0203, 2), "0203");
    EXPECT_EQ(IntToHexPadded(0x12345, 2), "12345"); // too big: not cut
    EXPECT_EQ(HexToBytes(IntToHexPadded(9600, 4)), wire("00 00 25 80"));
    EXPECT_EQ(IntToHexDigits(0xAB, 4), "00AB");
    EXPECT_EQ(IntToHexDigits(5, 12), "00000005"); // minimum capped at 8
    EXPECT_EQ(IntToHexDigits(0xDEADBEEF, 0), "DEADBEEF");
}

TEST(TextHelpers, LookupRemoveAndPad) {
    const std::vector<Bytes> table = {"KT350-MK", "KT750-MK", "KT350-MK"};
    EXPECT_EQ(IndexOfText(table, 2, "KT350-MK"), 0);
    EXPECT_EQ(IndexOfText(table, 2, "KT750-MK"), 1);
    EXPECT_EQ(IndexOfText(table, 0, "KT750-MK"), -1); // beyond the highest index
    EXPECT_EQ(IndexOfText(table, 9, "kt350-mk"), -1);

    EXPECT_EQ(RemoveChar("a,b,,c", ','), "abc");
    EXPECT_EQ(PadRight("ab", 5, ' '), "ab   ");
    EXPECT_EQ(PadRight("abcdef", 5, ' '), "abcdef");
    EXPECT_EQ(PadRight("\xC3\xA9t\xC3\xA9", 4, '.'), "\xC3\xA9t\xC3\xA9."); // "été" is 3 characters
    EXPECT_EQ(PadRightBytes("a\0"s, 4, '\0'), "a\0\0\0"s);
    EXPECT_EQ(PadLeft("x", 3, '0'), "000x");
    EXPECT_EQ(PadLeft("x", -1, '0'), "x");
}

// The bit-by-bit definition the table-driven CRC must agree with.
std::uint16_t referenceCrc(const Bytes& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (unsigned char byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

TEST(Crc16Check, CatalogueValuesAndBitwiseDefinition) {
    Crc16Init();
    EXPECT_EQ(Crc16("123456789"), 0x29B1);
    EXPECT_EQ(Crc16("abc"), 0x514A);
    EXPECT_EQ(Crc16(""), 0xFFFF);
    EXPECT_EQ(Crc16Bytes(0x29B1), wire("29 B1"));

    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        Bytes data(static_cast<std::size_t>(random() % 600), '\0');
        for (char& c : data)
            c = static_cast<char>(random());
        ASSERT_EQ(Crc16(data), referenceCrc(data)) << "round " << round;
    }
}

} // namespace
} // namespace tavisto
