#pragma once

#include "link/Bytes.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavisto {

// Raised by HexToBytes and HexToValue on a character that is not a hex digit;
// what() is "Error: not a Hex String".
class HexError : public std::runtime_error {
public:
    HexError();
};

// Two upper-case hex digits per byte, no separator.
std::string BytesToHex(const Bytes& bytes);
// Pairs of characters become bytes; an odd last character is converted alone.
Bytes HexToBytes(const std::string& text);
// Lenient: non-hex characters are skipped; a lone digit gives one byte.
Bytes HexTextToBytes(const std::string& text);
// Hex digits accumulated into a 32-bit value; empty text gives 0.
std::uint32_t HexToValue(const std::string& text);
// The text read as one signed 32-bit hexadecimal number; throws std::invalid_argument
// or std::out_of_range on invalid text.
std::int32_t HexToInt(const std::string& text);
// Hex digits of the unsigned value, left-padded with "0" to `digits` (at most 8).
std::string IntToHexDigits(std::uint32_t value, int digits);
// At least n digits, then left-padded to 2 * n characters.
std::string IntToHexPadded(std::uint32_t value, int byteCount);
// First index 0..highIndex whose entry equals `key`, or -1.
int IndexOfText(const std::vector<Bytes>& table, int highIndex, const Bytes& key);
std::string RemoveChar(const std::string& text, char character);
// The text padded on the right with `fill` up to `length` characters (UTF-8 aware).
std::string PadRight(const std::string& text, int length, char fill);
Bytes PadRightBytes(const Bytes& bytes, std::size_t length, char fill);
// `count` copies of `fill` followed by the text.
std::string PadLeft(const std::string& text, int count, char fill);
// Decimal digits in groups of three: "1,234,567".
std::string GroupedNumber(std::uint64_t value);

} // namespace tavisto
