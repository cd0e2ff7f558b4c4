#pragma once

#include "sim/device/Storage.h"
#include "sim/screen/Framebuffer.h"
#include "sim/screen/ScreenLayout.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavisto::sim {

// The program's own font images by resource name (for example CP437_800X480), for
// when the display has none stored; the bytes must outlive the screen drawing.
using FontFallback = std::function<std::optional<std::string_view>(std::string_view name)>;

// One font image: glyph cells one after another, each `cellHeight` rows of
// ceil(cellWidth / 8) bytes, the leftmost pixel in the top bit, a set bit is ink.
struct FontImage {
    std::string_view cells;
    int cellWidth = 0;
    int cellHeight = 0;
    bool stored = false; // taken from the display's storage, not the program
    int count() const;
    // Draws cell `index` with its top left corner at (x, y), each pixel `scale` x
    // `scale`, ink only, clipped to `clip`.
    void draw(Framebuffer& frame, int index, int x, int y, std::uint16_t ink, Rect clip,
              int scale = 1) const;
};

// The fonts a display draws its text with: the images stored in it, else the
// program's built-in ones.
class ScreenFonts {
public:
    ScreenFonts(const Storage& storage, int model, const FontFallback& fallback);

    // The font of a code page number (the settings' Expand_Char_No); nothing when the
    // display has none and the program carries none. `name` gets the font's name
    // (or the code page's, for the message that it is missing).
    std::optional<FontImage> codePage(int codePage, bool mini, std::string& name) const;
    // The twelve replacement characters of an international set (Char_No); nothing
    // for a set without an image ("Other", or none stored or built in).
    std::optional<FontImage> interSet(int charSet, bool mini) const;
    // The GBK image (40 x 40 cells, lead bytes 81 to FE by trail bytes 40 to FE), which
    // only the 800 x 480 panel has.
    std::optional<FontImage> gbk() const;

private:
    std::optional<FontImage> find(const std::string& name, int width, int height, int cells) const;
    std::optional<FontImage> find(const std::string& item, bool mini, int cells) const;

    const Storage& storage_;
    int model_;
    const FontFallback& fallback_;
    ScreenLayout layout_;
};

// Text in one font at one size, with an international set laid over the twelve codes
// it replaces. Draws what it can; says what is missing.
struct TextFont {
    std::optional<FontImage> codePage;
    std::optional<FontImage> interSet;
    std::optional<FontImage> doubleByte; // GBK: two bytes a character, two cells wide
    std::string missing;                 // the font's name when codePage is empty
    int cellWidth = 0;
    int cellHeight = 0;

    static TextFont of(const ScreenFonts& fonts, int codePage, int charSet, bool mini,
                       const ScreenLayout& layout);
    // Draws bytes from (x, y), one cell each, clipped to `clip`.
    void draw(Framebuffer& frame, std::string_view text, int x, int y, std::uint16_t ink,
              Rect clip) const;
};

// A short notice in the small built-in style, centred in `area` (used where a font
// or picture is missing). Draws with the CP437 font if any, else marks the area.
void drawNotice(Framebuffer& frame, const ScreenFonts& fonts, Rect area, std::string_view text,
                std::uint16_t ink);

} // namespace tavisto::sim
