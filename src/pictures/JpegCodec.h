#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "pictures/PictureGeometry.h"

namespace tavisto {

// Reads the size from a JPEG file's header without decoding its pixels.
// Throws PictureError for a file that is not a readable JPEG or is too large.
PictureSize ProbeJpeg(const Bytes& file);

// Decodes a JPEG file to 24-bit colour (greyscale and CMYK files are converted).
// `scaleDenominator` 2, 4 or 8 decodes at 1/2, 1/4 or 1/8 of the size (each side
// rounded up), which is much faster for large photos. Throws PictureError for a
// corrupt, truncated or oversized file.
Bitmap DecodeJpeg(const Bytes& file, int scaleDenominator = 1);

// The complete JPEG/JFIF file of the bitmap: baseline, 24-bit colour, quality 90, or
// quality 15 with `small` set.
Bytes BitmapToJpeg(const Bitmap& bitmap, bool small = false);

// As BitmapToJpeg with any quality from 1 to 100.
Bytes EncodeJpeg(const Bitmap& bitmap, int quality);

} // namespace tavisto
