#pragma once

#include "pictures/Bitmap.h"
#include "pictures/PictureGeometry.h"

namespace tavisto {

// Draws `source` stretched to fill `rect` of `target` (the rectangle may lie partly or
// wholly outside the target; only the covered target pixels change). Shrinking
// averages the source pixels each target pixel covers; enlarging interpolates
// linearly; a 1:1 rectangle copies pixels unchanged.
void StretchDraw(const Bitmap& source, Bitmap& target, PictureRect rect);

// `source` stretched to exactly `size`.
Bitmap Resized(const Bitmap& source, PictureSize size);

} // namespace tavisto
