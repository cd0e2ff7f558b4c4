#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"

#include <string>

namespace tavisto {

// The display's raw picture format: rows from top to bottom, pixels from left to right,
// each (R div 8) shl 11 or (G div 4) shl 5 or (B div 8) as two bytes, low byte first;
// no header, no padding: exactly width x height x 2 bytes. `width` and `height` pick the
// top-left part of the bitmap and must not exceed its own (std::invalid_argument).
Bytes BitmapToRgb565(const Bitmap& bitmap, int width, int height);

// The same bytes written to `fileName`, replacing any file of that name (FileError).
void SaveBitmapRgb565(const Bitmap& bitmap, int width, int height, const std::string& fileName);

} // namespace tavisto
