#include "PixelFont.h"

#include <array>
#include <cctype>

namespace tavisto::resources {

namespace {

struct Glyph {
    char letter;
    std::array<const char*, kGlyphHeight> rows; // '#' is ink
};

constexpr Glyph kGlyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'_', {"     ", "     ", "     ", "     ", "     ", "     ", "#####"}},
};

const Glyph* glyphOf(char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Glyph& glyph : kGlyphs)
        if (glyph.letter == upper)
            return &glyph;
    return nullptr;
}

} // namespace

int TextWidth(std::string_view text, int scale) {
    if (text.empty())
        return 0;
    return (static_cast<int>(text.size()) * kGlyphAdvance - 1) * scale;
}

void DrawText(Bitmap& bitmap, int x, int y, std::string_view text, int scale, Rgb colour) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph* glyph = glyphOf(text[i]);
        if (!glyph)
            continue;
        const int left = x + static_cast<int>(i) * kGlyphAdvance * scale;
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (glyph->rows[static_cast<std::size_t>(row)][column] != '#')
                    continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx) {
                        const int px = left + column * scale + dx;
                        const int py = y + row * scale + dy;
                        if (px >= 0 && py >= 0 && px < bitmap.width() && py < bitmap.height())
                            bitmap.setPixel(px, py, colour);
                    }
            }
    }
}

} // namespace tavisto::resources
