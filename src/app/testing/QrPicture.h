#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"

#include <string>

namespace tavisto {

// The side of the square QR pictures the displays without a QR encoder take.
inline constexpr int kQrPictureSide = 192;

// The QR code of `text` (its bytes as given, UTF-8 for operator texts; error
// correction level M, the smallest version that holds it) as a side x side picture:
// black modules on white with the standard quiet zone of four modules, each module a
// whole number of pixels, centred. Empty with `error` set when the text is empty or
// too long for a QR code of that size.
Bitmap QrCodeBitmap(const std::string& text, int side, std::string& error);

} // namespace tavisto
