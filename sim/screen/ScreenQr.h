#pragma once

#include "sim/screen/Framebuffer.h"

#include <string_view>

namespace tavisto::sim {

// Draws a QR code of `text` (the display encodes it itself: error correction M, byte
// mode) black on white with a four-module quiet zone, as large as `area` lets whole
// modules be, placed left, centre or right (alignment 1, 2, 3) and centred vertically.
// False when the text cannot be encoded (too long).
bool drawQrText(Framebuffer& frame, std::string_view text, int alignment, Rect area);

// Draws a 192 x 192 one-bit QR picture as the host sent it (rows top first, top bit
// leftmost, a set bit black), one pixel a bit, placed in `area` as above.
void drawQrPicture(Framebuffer& frame, std::string_view bits, int alignment, Rect area);

} // namespace tavisto::sim
