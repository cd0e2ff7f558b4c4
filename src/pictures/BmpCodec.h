#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "pictures/PictureGeometry.h"

namespace tavisto {

// Windows bitmap files: uncompressed 1, 4 and 8 bits per pixel with a palette, 16 and
// 32 bits (plain or with colour masks) and 24 bits, stored bottom-up or top-down.
// Run-length compressed files are refused.

// Reads the size from a BMP file's headers without decoding its pixels.
// Throws PictureError for a file that is not a readable BMP or is too large.
PictureSize ProbeBmp(const Bytes& file);

// Decodes a BMP file to 24-bit colour. Throws PictureError for a corrupt, truncated,
// unsupported or oversized file.
Bitmap DecodeBmp(const Bytes& file);

// A 24-bit bottom-up BMP file of the bitmap.
Bytes EncodeBmp(const Bitmap& bitmap);

} // namespace tavisto
