#pragma once

#include "link/Bytes.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tavisto {

// What a QR text must be before any model is sent it. The displays that draw QR codes
// take the text in a frame 02 07 1D a b text 00; with its five command bytes and the
// closing 00 the frame stays within 256 bytes, the most this program hands the display
// in one piece. The other models get a picture of the same text, held to the same
// limit so that a text works on every model or on none.
inline constexpr std::size_t kMaxQrTextBytes = 250;

// Why `text` (UTF-8, as the operator gave it) cannot be shown as a QR code on any
// model: empty, not valid UTF-8, holding a 00 byte (which would end the frame early)
// or longer than kMaxQrTextBytes. Empty when it can.
std::string QrTextProblem(const std::string& text);

// The text in the host code page (ISO-8859-1), as the displays that draw QR codes
// take it; nothing, with `problem` set, when the text fails QrTextProblem or holds a
// character that code page does not have (it would reach the display as "?").
std::optional<Bytes> QrTextHostBytes(const std::string& text, std::string& problem);

} // namespace tavisto
