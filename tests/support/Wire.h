#pragma once

#include "link/Bytes.h"

#include <stdexcept>
#include <string_view>

namespace tavisto::testing {

// Expected wire bytes written as hex pairs, spaces allowed: wire("02 07 16 01").
// Kept apart from the hex helpers under test.
inline Bytes wire(std::string_view hex) {
    auto nibble = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        throw std::invalid_argument("bad hex in test data");
    };
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= hex.size())
            throw std::invalid_argument("odd hex in test data");
        bytes.push_back(static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1])));
        i += 2;
    }
    return bytes;
}

} // namespace tavisto::testing
