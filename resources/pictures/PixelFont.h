#pragma once

#include "pictures/Bitmap.h"

#include <string_view>

namespace tavisto::resources {

// A 5 x 7 pixel font of the capital letters, digits, space and underscore that the
// default slot pictures are labelled with. Glyphs advance 6 pixels (a blank column
// between letters); letters it does not have draw as blanks.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphAdvance = 6;

// The width of `text` in pixels at `scale` (each font pixel a scale x scale square).
int TextWidth(std::string_view text, int scale);

// Draws `text` (lower-case letters as capitals) with its top-left corner at (x, y);
// pixels outside the bitmap are left out.
void DrawText(Bitmap& bitmap, int x, int y, std::string_view text, int scale, Rgb colour);

} // namespace tavisto::resources
