#include "resources/fonts/GlyphRenderer.h"

#include <algorithm>
#include <ft2build.h>
#include <optional>
#include <stdexcept>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H

namespace tavisto::fonts {

namespace {

constexpr unsigned char kInkThreshold = 128; // of FreeType's 0..255 coverage

struct Face {
    FT_Face face = nullptr;
    int pixelSize = 0;            // the size currently set on the face
    std::optional<FT_BBox> frame; // of its box-drawing glyphs, in font units
};

// Box-drawing and block elements, which join their neighbours into frames, tables
// and bars.
bool isBoxOrBlock(char32_t cp) {
    return cp >= 0x2500 && cp <= 0x259F;
}

// Where the first font puts its glyphs in a cell of one size.
struct CellMetrics {
    int width = 0;
    int height = 0;
    int pixelSize = 0;
    int baseline = 0; // rows from the top of the cell
};

// The pixels of a rendered glyph that the cut at half coverage keeps as ink, as a
// box in the glyph's bitmap (empty when none does).
struct InkBox {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool fits(int cellWidth, int cellHeight) const {
        return empty() || (width() <= cellWidth && height() <= cellHeight);
    }
};

InkBox inkBox(const FT_Bitmap& bitmap) {
    InkBox box{static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), -1, -1};
    for (int y = 0; y < static_cast<int>(bitmap.rows); ++y) {
        const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
        for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
            if (row[x] >= kInkThreshold) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    if (box.right < 0)
        return {};
    return box;
}

} // namespace

struct GlyphRenderer::Impl {
    FT_Library library = nullptr;
    std::vector<Face> faces;
    std::vector<CellMetrics> metrics;

    ~Impl() {
        for (Face& face : faces)
            FT_Done_Face(face.face);
        if (library)
            FT_Done_FreeType(library);
    }

    void setSize(Face& face, int pixelSize) {
        if (face.pixelSize == pixelSize)
            return;
        FT_Set_Pixel_Sizes(face.face, 0, static_cast<FT_UInt>(pixelSize));
        face.pixelSize = pixelSize;
    }

    // The size at which the first font's character cell (its advance by its line
    // height) fits the cell, and where its baseline falls.
    const CellMetrics& metricsFor(int width, int height) {
        for (const CellMetrics& known : metrics) {
            if (known.width == width && known.height == height)
                return known;
        }
        FT_Face face = faces.front().face;
        FT_Fixed advance = 0;
        FT_Get_Advance(face, FT_Get_Char_Index(face, U'0'), FT_LOAD_NO_SCALE, &advance);
        if (advance <= 0)
            advance = face->units_per_EM;
        const double em = face->units_per_EM;
        const double line = face->ascender - face->descender;
        const double size = std::min(width * em / static_cast<double>(advance), height * em / line);
        CellMetrics cell;
        cell.width = width;
        cell.height = height;
        cell.pixelSize = std::max(1, static_cast<int>(size));
        const double scale = cell.pixelSize / em;
        cell.baseline =
            static_cast<int>((height - line * scale) / 2 + face->ascender * scale + 0.5);
        metrics.push_back(cell);
        return metrics.back();
    }

    // The box that a box-drawing glyph of `face` fills: its full block, or where
    // the font has none, the advance of its digits by its line.
    const FT_BBox& frameOf(Face& face) {
        if (face.frame)
            return *face.frame;
        FT_BBox frame{0, face.face->descender, 0, face.face->ascender};
        FT_Fixed advance = 0;
        FT_Get_Advance(face.face, FT_Get_Char_Index(face.face, U'0'), FT_LOAD_NO_SCALE, &advance);
        frame.xMax = advance > 0 ? advance : face.face->units_per_EM;
        const FT_UInt block = FT_Get_Char_Index(face.face, U'\u2588');
        if (block != 0 && FT_Load_Glyph(face.face, block, FT_LOAD_NO_SCALE) == 0 &&
            face.face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_BBox box;
            FT_Outline_Get_CBox(&face.face->glyph->outline, &box);
            if (box.xMax > box.xMin && box.yMax > box.yMin)
                frame = box;
        }
        face.frame = frame;
        return *face.frame;
    }

    // Draws a box-drawing or block glyph stretched so that the font's full block
    // fills the cell exactly: lines then run to the cell's edges, and since every
    // such glyph of a font shares the stroke positions of its outlines, and is
    // drawn without hinting (which moves strokes glyph by glyph), they fall on the
    // same columns and rows in all of them. Returns false when nothing is drawn.
    bool drawStretched(Face& face, FT_UInt index, int width, int height, std::uint8_t* cell) {
        const FT_BBox frame = frameOf(face);
        if (FT_Load_Glyph(face.face, index, FT_LOAD_NO_SCALE) != 0 ||
            face.face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return false;
        FT_Outline* outline = &face.face->glyph->outline;
        FT_Outline_Translate(outline, -frame.xMin, -frame.yMin);
        // Font units to 26.6 pixels, with the frame's corner at the cell's bottom left.
        const FT_Matrix scale{static_cast<FT_Fixed>(width * 64.0 * 65536.0 /
                                                    static_cast<double>(frame.xMax - frame.xMin)),
                              0, 0,
                              static_cast<FT_Fixed>(height * 64.0 * 65536.0 /
                                                    static_cast<double>(frame.yMax - frame.yMin))};
        FT_Outline_Transform(outline, &scale);
        std::vector<unsigned char> coverage(static_cast<std::size_t>(width * height), 0);
        FT_Bitmap bitmap{};
        bitmap.rows = static_cast<unsigned>(height);
        bitmap.width = static_cast<unsigned>(width);
        bitmap.pitch = width;
        bitmap.buffer = coverage.data();
        bitmap.num_grays = 256;
        bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
        if (FT_Outline_Get_Bitmap(library, outline, &bitmap) != 0)
            return false;
        const int rowBytes = (width + 7) / 8;
        bool inked = false;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (coverage[static_cast<std::size_t>(y * width + x)] >= kInkThreshold) {
                    cell[y * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                    inked = true;
                }
            }
        }
        return inked;
    }

    const FT_Bitmap* draw(Face& face, FT_UInt index, int pixelSize) {
        setSize(face, pixelSize);
        if (FT_Load_Glyph(face.face, index, FT_LOAD_DEFAULT) != 0 ||
            FT_Render_Glyph(face.face->glyph, FT_RENDER_MODE_NORMAL) != 0)
            return nullptr;
        return &face.face->glyph->bitmap;
    }
};

GlyphRenderer::GlyphRenderer(const std::vector<std::string>& fontFiles)
    : impl_(std::make_unique<Impl>()) {
    if (fontFiles.empty())
        throw std::runtime_error("no font given");
    if (FT_Init_FreeType(&impl_->library) != 0)
        throw std::runtime_error("FreeType does not start");
    for (const std::string& file : fontFiles) {
        Face face;
        if (FT_New_Face(impl_->library, file.c_str(), 0, &face.face) != 0)
            throw std::runtime_error("cannot open the font " + file);
        impl_->faces.push_back(face);
    }
}

GlyphRenderer::~GlyphRenderer() = default;

bool GlyphRenderer::render(char32_t cp, int width, int height, std::uint8_t* cell) {
    const int rowBytes = (width + 7) / 8;
    std::fill(cell, cell + rowBytes * height, std::uint8_t{0});
    const CellMetrics& metrics = impl_->metricsFor(width, height);
    for (std::size_t f = 0; f < impl_->faces.size(); ++f) {
        Face& face = impl_->faces[f];
        const FT_UInt index = FT_Get_Char_Index(face.face, cp);
        if (index == 0)
            continue;
        // A font may map a character to an empty outline (WenQuanYi Micro Hei does
        // for ℃ and the Roman numerals, among others): then the next font draws it.
        if (isBoxOrBlock(cp)) {
            if (impl_->drawStretched(face, index, width, height, cell))
                return true;
            continue;
        }
        int size = metrics.pixelSize;
        const FT_Bitmap* bitmap = nullptr;
        InkBox ink;
        // Draws the glyph at `at` pixels; true when its ink fits the cell.
        auto drawAt = [&](int at) {
            bitmap = impl_->draw(face, index, at);
            ink = bitmap ? inkBox(*bitmap) : InkBox{};
            return bitmap && ink.fits(width, height);
        };
        if (!drawAt(size)) {
            if (!bitmap)
                continue;
            // Too big for the cell (a wide glyph of another font): draw it at the
            // largest size whose ink fits. The fit is judged on the ink the cut at
            // half coverage keeps, not on FreeType's faint anti-aliased edge.
            const double shrink = std::min(static_cast<double>(width) / ink.width(),
                                           static_cast<double>(height) / ink.height());
            int smaller = std::clamp(static_cast<int>(size * shrink), 1, size - 1);
            while (smaller + 1 < size && drawAt(smaller + 1))
                ++smaller;
            while (smaller > 1 && !drawAt(smaller))
                --smaller;
            size = smaller;
            drawAt(size);
            if (!bitmap)
                continue;
        }
        if (ink.empty())
            continue;
        const FT_GlyphSlot slot = face.face->glyph;
        // The first font keeps its own spacing: the glyph's own advance is centred in
        // the cell (a full-width ideograph's as well as a half-width digit's). Glyphs
        // of the other fonts are centred on their ink.
        const int advance = static_cast<int>(slot->linearHoriAdvance / 65536.0 + 0.5);
        int left = f == 0 && size == metrics.pixelSize ? (width - advance) / 2 + slot->bitmap_left
                                                       : (width - ink.width()) / 2 - ink.left;
        const int baseline = size == metrics.pixelSize
                                 ? metrics.baseline
                                 : metrics.baseline - (metrics.pixelSize - size) / 2;
        int top = baseline - slot->bitmap_top;
        // Keep all the ink inside the cell.
        left = std::clamp(left + ink.left, 0, std::max(0, width - ink.width())) - ink.left;
        top = std::clamp(top + ink.top, 0, std::max(0, height - ink.height())) - ink.top;
        for (int y = ink.top; y <= ink.bottom && top + y < height; ++y) {
            const unsigned char* row = bitmap->buffer + y * bitmap->pitch;
            for (int x = ink.left; x <= ink.right && left + x < width; ++x) {
                if (row[x] >= kInkThreshold) {
                    const int px = left + x;
                    cell[(top + y) * rowBytes + px / 8] |=
                        static_cast<std::uint8_t>(0x80 >> (px % 8));
                }
            }
        }
        return true;
    }
    return false;
}

} // namespace tavisto::fonts
