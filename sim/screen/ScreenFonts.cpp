#include "sim/screen/ScreenFonts.h"

#include "settings/Vocabulary.h"
#include "sim/screen/StoredItems.h"

#include <algorithm>
#include <array>

namespace tavisto::sim {

namespace {

constexpr int kCodePageCells = 256;
constexpr int kSetCells = 12;

// The codes an international set replaces, in the order of its image's cells.
constexpr std::array<unsigned char, kSetCells> kSetCodes{0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D,
                                                         0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

// Image names of the international sets by Char_No; the sets above 12 have none.
constexpr std::array<const char*, 13> kSetNames{
    "USA",   "FRANCE", "GERMANY", "UK",         "DENMARK_I", "SWEDEN", "ITALY",
    "SPAIN", "JAPAN",  "NORWAY",  "DENMARK_II", "SLAVONIC",  "RUSSIA"};

int setCell(unsigned char code) {
    for (std::size_t i = 0; i < kSetCodes.size(); ++i)
        if (kSetCodes[i] == code)
            return static_cast<int>(i);
    return -1;
}

} // namespace

int FontImage::count() const {
    const int rowBytes = (cellWidth + 7) / 8;
    const std::size_t cellBytes = static_cast<std::size_t>(rowBytes) * cellHeight;
    return cellBytes == 0 ? 0 : static_cast<int>(cells.size() / cellBytes);
}

void FontImage::draw(Framebuffer& frame, int index, int x, int y, std::uint16_t ink, Rect clip,
                     int scale) const {
    if (index < 0 || index >= count())
        return;
    if (scale > 1) {
        const int rowBytes = (cellWidth + 7) / 8;
        const auto* cell = reinterpret_cast<const unsigned char*>(cells.data()) +
                           static_cast<std::size_t>(index) * rowBytes * cellHeight;
        for (int gy = 0; gy < cellHeight; ++gy)
            for (int gx = 0; gx < cellWidth; ++gx)
                if (cell[gy * rowBytes + (gx >> 3)] & (0x80 >> (gx & 7))) {
                    const Rect dot{x + gx * scale, y + gy * scale, scale, scale};
                    for (int py = std::max(dot.y, clip.y);
                         py < std::min(dot.bottom(), clip.bottom()); ++py)
                        for (int px = std::max(dot.x, clip.x);
                             px < std::min(dot.right(), clip.right()); ++px)
                            frame.setPixel(px, py, ink);
                }
        return;
    }
    const int rowBytes = (cellWidth + 7) / 8;
    const auto* cell = reinterpret_cast<const unsigned char*>(cells.data()) +
                       static_cast<std::size_t>(index) * rowBytes * cellHeight;
    const int top = std::max({0, y, clip.y});
    const int bottom = std::min({frame.height(), y + cellHeight, clip.bottom()});
    const int left = std::max({0, x, clip.x});
    const int right = std::min({frame.width(), x + cellWidth, clip.right()});
    for (int py = top; py < bottom; ++py) {
        const unsigned char* row = cell + static_cast<std::size_t>(py - y) * rowBytes;
        for (int px = left; px < right; ++px) {
            const int bit = px - x;
            if (row[bit >> 3] & (0x80 >> (bit & 7)))
                frame.setPixel(px, py, ink);
        }
    }
}

ScreenFonts::ScreenFonts(const Storage& storage, int model, const FontFallback& fallback)
    : storage_(storage), model_(model), fallback_(fallback), layout_(layoutOf(model)) {}

std::optional<FontImage> ScreenFonts::find(const std::string& item, bool mini, int cells) const {
    return find((mini ? "mini_" : "") + item, mini ? layout_.miniWidth : layout_.cellWidth,
                mini ? layout_.miniHeight : layout_.cellHeight, cells);
}

std::optional<FontImage> ScreenFonts::gbk() const {
    constexpr int kGbkCells = 126 * 191;
    if (!layout_.large)
        return std::nullopt;
    return find("CP936_GBK", 40, 40, kGbkCells);
}

std::optional<FontImage> ScreenFonts::find(const std::string& name, int width, int height,
                                           int cells) const {
    FontImage font;
    font.cellWidth = width;
    font.cellHeight = height;
    const std::size_t size =
        static_cast<std::size_t>((font.cellWidth + 7) / 8) * font.cellHeight * cells;
    // An image of another size is not one this display can draw with (a font for the
    // other panel, say); it is passed over as if it were not there.
    std::string_view stored = storedItem(storage_, model_, name);
    if (stored.size() == size) {
        font.cells = stored;
        font.stored = true;
        return font;
    }
    if (fallback_) {
        auto builtIn = fallback_(name + (layout_.large ? "_800X480" : "_480X272"));
        if (builtIn && builtIn->size() == size) {
            font.cells = *builtIn;
            return font;
        }
    }
    return std::nullopt;
}

std::optional<FontImage> ScreenFonts::codePage(int codePage, bool mini, std::string& name) const {
    const int row = IndexOfCodePage(CodePages, static_cast<int>(CodePages.size()) - 1, codePage);
    if (row < 0) {
        name = "code page " + std::to_string(codePage);
        return std::nullopt;
    }
    name = std::string(CodePages[static_cast<std::size_t>(row)].DisplayName);
    // GBK's single bytes are ASCII: the CP437 image draws them.
    if (name == "CP936_GBK")
        return find("CP437", mini, kCodePageCells);
    // Code page 932's single bytes are ASCII and the half-width katakana.
    const std::string item = name == "CP932" ? "KATAKANA" : name;
    return find(item, mini, kCodePageCells);
}

std::optional<FontImage> ScreenFonts::interSet(int charSet, bool mini) const {
    if (charSet < 0 || charSet >= static_cast<int>(kSetNames.size()))
        return std::nullopt;
    return find(kSetNames[static_cast<std::size_t>(charSet)], mini, kSetCells);
}

TextFont TextFont::of(const ScreenFonts& fonts, int codePage, int charSet, bool mini,
                      const ScreenLayout& layout) {
    TextFont t;
    t.codePage = fonts.codePage(codePage, mini, t.missing);
    if (t.missing == "CP936_GBK") {
        t.doubleByte = fonts.gbk();
        if (!t.doubleByte)
            t.codePage.reset();
    }
    if (t.codePage)
        t.missing.clear();
    t.interSet = fonts.interSet(charSet, mini);
    t.cellWidth = mini ? layout.miniWidth : layout.cellWidth;
    t.cellHeight = mini ? layout.miniHeight : layout.cellHeight;
    return t;
}

void TextFont::draw(Framebuffer& frame, std::string_view text, int x, int y, std::uint16_t ink,
                    Rect clip) const {
    if (!codePage)
        return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (x >= clip.right())
            break;
        const auto trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        if (doubleByte && code >= 0x81 && code <= 0xFE && trail >= 0x40 && trail <= 0xFE) {
            // Two cells wide: the glyph as large as whole pixels let it be, centred.
            const int w = 2 * cellWidth;
            const int scale = std::max(
                1, std::min(w / doubleByte->cellWidth, cellHeight / doubleByte->cellHeight));
            const int side = doubleByte->cellWidth * scale;
            doubleByte->draw(frame, (code - 0x81) * 191 + (trail - 0x40), x + (w - side) / 2,
                             y + (cellHeight - side) / 2, ink, clip, scale);
            x += w;
            ++i;
            continue;
        }
        const int replaced = interSet ? setCell(code) : -1;
        if (replaced >= 0)
            interSet->draw(frame, replaced, x, y, ink, clip);
        else if (code != ' ')
            codePage->draw(frame, code, x, y, ink, clip);
        x += cellWidth;
    }
}

void drawNotice(Framebuffer& frame, const ScreenFonts& fonts, Rect area, std::string_view text,
                std::uint16_t ink) {
    std::string ignored;
    for (bool mini : {true, false}) {
        auto font = fonts.codePage(0, mini, ignored);
        if (!font)
            continue;
        const int w = font->cellWidth;
        const int h = font->cellHeight;
        if (h > area.height)
            continue;
        const int fit = std::max(1, area.width / w);
        const std::string_view shown = text.substr(0, static_cast<std::size_t>(fit));
        const int x = area.x + (area.width - static_cast<int>(shown.size()) * w) / 2;
        const int y = area.y + (area.height - h) / 2;
        for (std::size_t i = 0; i < shown.size(); ++i)
            font->draw(frame, static_cast<unsigned char>(shown[i]), x + static_cast<int>(i) * w, y,
                       ink, area);
        return;
    }
    // No font at all: a cross over the area says that something could not be drawn.
    for (int i = 0; i < std::min(area.width, area.height); ++i) {
        const int dx = i * area.width / std::max(1, area.height);
        frame.setPixel(area.x + dx, area.y + i, ink);
        frame.setPixel(area.right() - 1 - dx, area.y + i, ink);
    }
}

} // namespace tavisto::sim
