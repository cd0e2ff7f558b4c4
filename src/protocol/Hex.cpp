#include "protocol/Hex.h"

#include <algorithm>

namespace tavisto {

namespace {

constexpr const char* kDigits = "0123456789ABCDEF";

// The value of a hex digit in either case, or -1.
int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Number of UTF-8 code points in the text (continuation bytes are not counted).
std::size_t codePointCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

HexError::HexError() : std::runtime_error("Error: not a Hex String") {}

std::string BytesToHex(const Bytes& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

Bytes HexToBytes(const std::string& text) {
    Bytes bytes;
    bytes.reserve(text.size() / 2 + 1);
    for (std::size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(static_cast<char>(HexToValue(text.substr(i, 2)) & 0xFF));
    return bytes;
}

Bytes HexTextToBytes(const std::string& text) {
    Bytes bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        const int high = digitValue(text[i]);
        if (high < 0) {
            ++i;
            continue;
        }
        const int low = i + 1 < text.size() ? digitValue(text[i + 1]) : -1;
        bytes.push_back(static_cast<char>(low < 0 ? high : high * 16 + low));
        i += 2;
    }
    return bytes;
}

std::uint32_t HexToValue(const std::string& text) {
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = digitValue(c);
        if (digit < 0)
            throw HexError();
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::int32_t HexToInt(const std::string& text) {
    if (text.empty())
        throw std::invalid_argument("'" + text + "' is not a valid integer value");
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = digitValue(c);
        if (digit < 0)
            throw std::invalid_argument("'" + text + "' is not a valid integer value");
        value = (value << 4) | static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            throw std::out_of_range("'" + text + "' is not a valid integer value");
    }
    // Eight digits cover the whole 32 bits, so FFFFFFFF reads as -1.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::string IntToHexDigits(std::uint32_t value, int digits) {
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0x0F]);
        value >>= 4;
    } while (value != 0);
    const std::size_t minimum = static_cast<std::size_t>(std::clamp(digits, 0, 8));
    if (text.size() < minimum)
        text.insert(0, minimum - text.size(), '0');
    return text;
}

std::string IntToHexPadded(std::uint32_t value, int byteCount) {
    std::string text = IntToHexDigits(value, byteCount);
    const std::size_t width = static_cast<std::size_t>(std::max(byteCount, 0)) * 2;
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

int IndexOfText(const std::vector<Bytes>& table, int highIndex, const Bytes& key) {
    const int last = std::min(highIndex, static_cast<int>(table.size()) - 1);
    for (int i = 0; i <= last; ++i) {
        if (table[static_cast<std::size_t>(i)] == key)
            return i;
    }
    return -1;
}

std::string RemoveChar(const std::string& text, char character) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != character)
            result.push_back(c);
    }
    return result;
}

std::string PadRight(const std::string& text, int length, char fill) {
    const std::size_t have = codePointCount(text);
    const std::size_t want = static_cast<std::size_t>(std::max(length, 0));
    return have >= want ? text : text + std::string(want - have, fill);
}

Bytes PadRightBytes(const Bytes& bytes, std::size_t length, char fill) {
    return bytes.size() >= length ? bytes : bytes + Bytes(length - bytes.size(), fill);
}

std::string PadLeft(const std::string& text, int count, char fill) {
    return std::string(static_cast<std::size_t>(std::max(count, 0)), fill) + text;
}

std::string GroupedNumber(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace tavisto
