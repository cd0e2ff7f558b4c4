#include "TestPictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <jpeglib.h>
#include <png.h>
#include <random>
#include <stdexcept>
#include <vector>

namespace tavisto::testing {

Bitmap GradientBitmap(int width, int height, std::uint8_t blue) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y,
                            Rgb{static_cast<std::uint8_t>(width > 1 ? x * 255 / (width - 1) : 0),
                                static_cast<std::uint8_t>(height > 1 ? y * 255 / (height - 1) : 0),
                                blue});
    return bitmap;
}

namespace {

Bytes writePng(const void* pixels, int width, int height, bool alpha) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr))
        throw std::runtime_error(image.message);
    Bytes out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels, 0, nullptr))
        throw std::runtime_error(image.message);
    out.resize(size);
    return out;
}

} // namespace

Bytes PngFile(const Bitmap& bitmap) {
    return writePng(bitmap.data().data(), bitmap.width(), bitmap.height(), false);
}

Bytes ProgressiveJpegFile(const Bitmap& bitmap) {
    // Component, first and last coefficient, successive approximation bits.
    static const jpeg_scan_info kScans[] = {
        {1, {0}, 0, 0, 0, 0},  {1, {1}, 0, 0, 0, 0},  {1, {2}, 0, 0, 0, 0},
        {1, {0}, 1, 63, 0, 0}, {1, {1}, 1, 63, 0, 0}, {1, {2}, 1, 63, 0, 0},
    };
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors); // a test helper may end the program on error
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.scan_info = kScans;
    cinfo.num_scans = 6;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<unsigned char*>(bitmap.row(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

Bytes PngFileWithAlpha(const Bitmap& bitmap, std::uint8_t alpha) {
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < bitmap.data().size(); i += 3) {
        rgba.insert(rgba.end(), bitmap.data().begin() + i, bitmap.data().begin() + i + 3);
        rgba.push_back(alpha);
    }
    return writePng(rgba.data(), bitmap.width(), bitmap.height(), true);
}

TempDir::TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("tavisto-pictures-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

int TempDir::fileCount() const {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_))
        ++count;
    return count;
}

void WriteFile(const std::string& fileName, const Bytes& bytes) {
    std::ofstream out(fileName, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file " + fileName);
}

double MeanDifference(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height())
        throw std::invalid_argument("bitmaps differ in size");
    double total = 0;
    for (std::size_t i = 0; i < a.data().size(); ++i)
        total += std::abs(int{a.data()[i]} - int{b.data()[i]});
    return a.data().empty() ? 0 : total / static_cast<double>(a.data().size());
}

} // namespace tavisto::testing
