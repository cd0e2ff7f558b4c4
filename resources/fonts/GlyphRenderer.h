#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavisto::fonts {

// Renders characters into one-bit cells with FreeType, from a chain of font files:
// the first font whose glyph for a character leaves ink in the cell draws it. The first font of the
// chain sets the size and the baseline, so that its glyphs fill the cell as a terminal font would;
// a glyph whose ink does not fit is drawn at the largest size at which it does.
class GlyphRenderer {
public:
    // Throws std::runtime_error when a font cannot be opened.
    explicit GlyphRenderer(const std::vector<std::string>& fontFiles);
    ~GlyphRenderer();
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    // Draws `cp` into `cell`: `height` rows of (width + 7) / 8 bytes, top row first,
    // leftmost pixel in the most significant bit. Returns false, leaving the cell
    // blank, when no font of the chain draws any ink for the character (as for a
    // space, or a character no font has).
    bool render(char32_t cp, int width, int height, std::uint8_t* cell);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tavisto::fonts
