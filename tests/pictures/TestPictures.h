#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"

#include <filesystem>
#include <string>

namespace tavisto::testing {

// Red rises from left to right, green from top to bottom, blue is constant.
Bitmap GradientBitmap(int width, int height, std::uint8_t blue = 64);

// A PNG file of the bitmap, with an alpha channel when `alpha` is given (one value
// for every pixel).
Bytes PngFile(const Bitmap& bitmap);
Bytes PngFileWithAlpha(const Bitmap& bitmap, std::uint8_t alpha);

// A progressive colour JPEG file whose scans send the brightness first and each colour
// component in scans of its own after it (DC of Y, Cb, Cr, then their AC).
Bytes ProgressiveJpegFile(const Bitmap& bitmap);

// A fresh empty folder removed again when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }
    int fileCount() const;

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& fileName, const Bytes& bytes);

// Mean absolute difference per channel between two bitmaps of one size.
double MeanDifference(const Bitmap& a, const Bitmap& b);

} // namespace tavisto::testing
