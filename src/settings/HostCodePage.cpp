#include "settings/HostCodePage.h"

namespace tavisto {

std::string HostBytesToText(const Bytes& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

Bytes TextToHostBytes(const std::string& text) {
    Bytes bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        // Length of the sequence from its lead byte; stray continuation bytes count as one.
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        bool complete = i + length <= text.size();
        for (std::size_t k = 1; complete && k < length; ++k)
            complete = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (complete && length == 2 && lead <= 0xC3) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            bytes.push_back(static_cast<char>(((lead & 0x1F) << 6) | (trail & 0x3F)));
        } else {
            bytes.push_back('?');
        }
        i += complete ? length : 1;
    }
    return bytes;
}

} // namespace tavisto
