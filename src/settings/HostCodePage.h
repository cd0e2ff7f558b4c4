#pragma once

#include "link/Bytes.h"

#include <string>

namespace tavisto {

// The host's 8-bit code page is ISO-8859-1: every byte is one character, so the
// display-code-page bytes inside a settings text survive a round trip unchanged.

// Each byte becomes the character of the same number, written as UTF-8.
std::string HostBytesToText(const Bytes& bytes);

// Each character up to U+00FF becomes its byte; any other character (or a broken
// UTF-8 sequence) becomes "?", as an 8-bit conversion substitutes what it cannot map.
Bytes TextToHostBytes(const std::string& text);

} // namespace tavisto
