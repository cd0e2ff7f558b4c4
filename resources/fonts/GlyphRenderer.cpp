#include "resources/fonts/GlyphRenderer.h"

#include <algorithm>
#include <ft2build.h>
#include <stdexcept>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

namespace tavisto::fonts {

namespace {

constexpr unsigned char kInkThreshold = 128; // of FreeType's 0..255 coverage

struct Face {
    FT_Face face = nullptr;
    int pixelSize = 0; // the size currently set on the face
};

// Where the first font puts its glyphs in a cell of one size.
struct CellMetrics {
    int width = 0;
    int height = 0;
    int pixelSize = 0;
    int baseline = 0; // rows from the top of the cell
    int advance = 0;  // of the first font's glyphs, in pixels
};

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
        cell.advance = static_cast<int>(advance * scale + 0.5);
        metrics.push_back(cell);
        return metrics.back();
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
        int size = metrics.pixelSize;
        const FT_Bitmap* bitmap = impl_->draw(face, index, size);
        if (!bitmap)
            return false;
        const int inkWidth = static_cast<int>(bitmap->width);
        const int inkHeight = static_cast<int>(bitmap->rows);
        if (inkWidth > width || inkHeight > height) {
            // Too big for the cell (a wide glyph of another font): draw it smaller.
            const double shrink = std::min(static_cast<double>(width) / inkWidth,
                                           static_cast<double>(height) / inkHeight);
            size = std::max(1, static_cast<int>(size * shrink));
            bitmap = impl_->draw(face, index, size);
            if (!bitmap)
                return false;
        }
        const FT_GlyphSlot slot = face.face->glyph;
        const int w = static_cast<int>(bitmap->width);
        const int h = static_cast<int>(bitmap->rows);
        // The first font keeps its own spacing; others are centred on their ink.
        int left = f == 0 && size == metrics.pixelSize
                       ? (width - metrics.advance) / 2 + slot->bitmap_left
                       : (width - w) / 2;
        left = std::clamp(left, 0, std::max(0, width - w));
        const int baseline = size == metrics.pixelSize
                                 ? metrics.baseline
                                 : metrics.baseline - (metrics.pixelSize - size) / 2;
        const int top = std::clamp(baseline - slot->bitmap_top, 0, std::max(0, height - h));
        for (int y = 0; y < h && top + y < height; ++y) {
            const unsigned char* row = bitmap->buffer + y * bitmap->pitch;
            for (int x = 0; x < w && left + x < width; ++x) {
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
