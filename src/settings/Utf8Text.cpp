#include "settings/Utf8Text.h"

namespace tavisto {

Utf8Char DecodeUtf8At(const std::string& text, std::size_t at) {
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

std::optional<std::size_t> FirstInvalidUtf8Byte(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = DecodeUtf8At(text, at);
        if (c.length == 0)
            return at;
        at += c.length;
    }
    return std::nullopt;
}

} // namespace tavisto
