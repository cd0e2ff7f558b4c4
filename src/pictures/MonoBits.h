#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"

#include <string>

namespace tavisto {

// Packed 1-bit pictures as the displays take QR codes: rows from top to bottom, each
// row from left to right, eight pixels a byte with the leftmost in the most significant
// bit, no padding at row ends. A set bit is a black pixel.

// The bits of a bitmap: a pixel darker than mid-grey (by its luma) is black, so black
// stays black and white stays white whatever the colours in between.
Bytes BitmapToMonoBits(const Bitmap& bitmap);

// The picture file stretched over width x height pixels (no aspect ratio kept) as
// packed bits, width x height / 8 bytes. The decoder is chosen by the extension in any
// letter case: ".png", ".jpg", ".jpeg" or ".bmp". Empty for any other extension.
// Throws FileError when the file cannot be read and PictureError, naming the file,
// when its contents cannot be decoded.
Bytes PictureToMonoBits(const std::string& fileName, int width, int height);

} // namespace tavisto
