#include "app/testing/QrText.h"

#include <cstdint>

namespace tavisto {
namespace {

// One character of a UTF-8 text: its code point and its length in bytes, or a length
// of 0 when the bytes at `at` are no well-formed UTF-8 (overlong forms, surrogates
// and code points above U+10FFFF included).
struct Utf8Char {
    std::uint32_t code = 0;
    std::size_t length = 0;
};

Utf8Char decodeAt(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1Fu, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0Fu, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07u, least = 0x10000;
    } else {
        return {};
    }
    if (text.size() - at < length)
        return {};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return {};
        code = code << 6 | (next & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, length};
}

} // namespace

std::string QrTextProblem(const std::string& text) {
    if (text.empty())
        return "There is no text to make a QR code of.";
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = decodeAt(text, at);
        if (c.length == 0)
            return "The text is not valid UTF-8 (byte " + std::to_string(at + 1) +
                   "); a QR code of it would not say what was meant.";
        if (c.code == 0)
            return "The text holds a zero byte, which would end the display's QR command.";
        at += c.length;
    }
    if (text.size() > kMaxQrTextBytes)
        return "The text is too long for a QR code: " + std::to_string(text.size()) +
               " bytes, the display takes at most " + std::to_string(kMaxQrTextBytes) + ".";
    return {};
}

std::optional<Bytes> QrTextHostBytes(const std::string& text, std::string& problem) {
    problem = QrTextProblem(text);
    if (!problem.empty())
        return std::nullopt;
    Bytes bytes;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = decodeAt(text, at);
        if (c.code > 0xFF) {
            problem = "The display draws QR codes of ISO-8859-1 text, which has no \"" +
                      text.substr(at, c.length) + "\".";
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(c.code));
        at += c.length;
    }
    return bytes;
}

} // namespace tavisto
