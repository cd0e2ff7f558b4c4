#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "pictures/PictureGeometry.h"

namespace tavisto {

// Reads the size from a PNG file's header without decoding its pixels.
// Throws PictureError for a file that is not a readable PNG or is too large.
PictureSize ProbePng(const Bytes& file);

// Decodes a PNG file of any colour type and depth to 24-bit colour; transparent
// parts are laid on white. Throws PictureError for a corrupt, truncated or
// oversized file.
Bitmap DecodePng(const Bytes& file);

} // namespace tavisto
