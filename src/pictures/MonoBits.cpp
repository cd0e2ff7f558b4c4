#include "pictures/MonoBits.h"

#include "pictures/ByteFiles.h"
#include "pictures/PictureConvert.h"
#include "pictures/PictureError.h"
#include "pictures/StretchDraw.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace tavisto {
namespace {

// BT.601 luma in 1/1000 steps; below half of full white counts as black.
bool isDark(const std::uint8_t* rgb) {
    const int luma = 299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2];
    return luma < 1000 * 128;
}

std::optional<PictureFormat> formatOfExtension(const std::string& fileName) {
    std::string extension = FileExtension(fileName);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png")
        return PictureFormat::Png;
    if (extension == ".jpg" || extension == ".jpeg")
        return PictureFormat::Jpeg;
    if (extension == ".bmp")
        return PictureFormat::Bmp;
    return std::nullopt;
}

} // namespace

Bytes BitmapToMonoBits(const Bitmap& bitmap) {
    Bytes bits;
    bits.reserve(static_cast<std::size_t>(bitmap.width()) * bitmap.height() / 8);
    unsigned byte = 0;
    int filled = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* pixel = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, pixel += 3) {
            byte = (byte << 1) | (isDark(pixel) ? 1u : 0u);
            if (++filled == 8) {
                bits.push_back(static_cast<char>(byte));
                byte = 0;
                filled = 0;
            }
        }
    }
    return bits;
}

Bytes PictureToMonoBits(const std::string& fileName, int width, int height) {
    const std::optional<PictureFormat> format = formatOfExtension(fileName);
    if (!format)
        return {};
    const Bytes file = FileToBytes(fileName);
    Bitmap picture;
    try {
        picture = DecodePicture(file, *format);
    } catch (const PictureError& error) {
        throw PictureError("The picture \"" + fileName + "\" cannot be opened. " + error.what());
    }
    return BitmapToMonoBits(Resized(picture, PictureSize{width, height}));
}

} // namespace tavisto
