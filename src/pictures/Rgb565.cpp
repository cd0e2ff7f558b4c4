#include "pictures/Rgb565.h"

#include "pictures/ByteFiles.h"

#include <cstdint>
#include <stdexcept>

namespace tavisto {

Bytes BitmapToRgb565(const Bitmap& bitmap, int width, int height) {
    if (width < 0 || height < 0 || width > bitmap.width() || height > bitmap.height())
        throw std::invalid_argument("RGB565 size exceeds the bitmap");
    Bytes out(static_cast<std::size_t>(width) * height * 2, '\0');
    char* o = out.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const unsigned value = (p[0] >> 3) << 11 | (p[1] >> 2) << 5 | (p[2] >> 3);
            *o++ = static_cast<char>(value & 0xFF);
            *o++ = static_cast<char>(value >> 8);
        }
    }
    return out;
}

void SaveBitmapRgb565(const Bitmap& bitmap, int width, int height, const std::string& fileName) {
    SaveBytesToFile(fileName, BitmapToRgb565(bitmap, width, height));
}

} // namespace tavisto
