#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tavisto {

// One character of a UTF-8 text: its code point and its length in bytes, or a length
// of 0 when the bytes at `at` are no well-formed UTF-8 (overlong forms, surrogates
// and code points above U+10FFFF included).
struct Utf8Char {
    std::uint32_t code = 0;
    std::size_t length = 0;
};

Utf8Char DecodeUtf8At(const std::string& text, std::size_t at);

// The offset of the first byte that is no well-formed UTF-8; nothing when the whole
// text is. Texts typed on a command line can hold any bytes; converting them to a
// code page would put "?" where they were meant to say something.
std::optional<std::size_t> FirstInvalidUtf8Byte(const std::string& text);

} // namespace tavisto
