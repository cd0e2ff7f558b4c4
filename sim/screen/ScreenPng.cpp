#include "sim/screen/ScreenPng.h"

#include "files/FileWrite.h"

#include <png.h>

namespace tavisto::sim {

Bytes screenPng(const Framebuffer& frame, int brightnessStep) {
    const std::vector<std::uint8_t> rgb = panelLight(frame, brightnessStep);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(frame.width());
    image.height = static_cast<png_uint_32>(frame.height());
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        return {};
    Bytes out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
        return {};
    out.resize(size);
    return out;
}

bool saveScreenPng(const std::string& path, const Framebuffer& frame, int brightnessStep,
                   std::string& message) {
    const Bytes png = screenPng(frame, brightnessStep);
    if (png.empty()) {
        message = "cannot encode the screen as PNG";
        return false;
    }
    return SaveFile(path, png, message);
}

} // namespace tavisto::sim
