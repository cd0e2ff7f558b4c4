#include "sim/screen/ScreenQr.h"

#include <algorithm>
#include <memory>
#include <qrencode.h>
#include <string>

namespace tavisto::sim {

namespace {

constexpr std::uint16_t kDarkModule = 0x0000;
constexpr std::uint16_t kLightModule = 0xFFFF;
constexpr int kQuietModules = 4;
constexpr int kQrPictureSide = 192;

int placeX(int alignment, Rect area, int side) {
    switch (alignment) {
    case 1:
        return area.x;
    case 3:
        return area.right() - side;
    default:
        return area.x + (area.width - side) / 2;
    }
}

} // namespace

bool drawQrText(Framebuffer& frame, std::string_view text, int alignment, Rect area) {
    const std::string data(text);
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(
        QRcode_encodeData(static_cast<int>(data.size()),
                          reinterpret_cast<const unsigned char*>(data.data()), 0, QR_ECLEVEL_M),
        QRcode_free);
    if (!code)
        return false;
    const int modules = code->width + 2 * kQuietModules;
    const int scale = std::max(1, std::min(area.width, area.height) / modules);
    const int side = modules * scale;
    const int left = placeX(alignment, area, side);
    const int top = area.y + (area.height - side) / 2;
    frame.fill({left, top, side, side}, kLightModule);
    for (int y = 0; y < code->width; ++y)
        for (int x = 0; x < code->width; ++x)
            if (code->data[y * code->width + x] & 1)
                frame.fill({left + (x + kQuietModules) * scale, top + (y + kQuietModules) * scale,
                            scale, scale},
                           kDarkModule);
    return true;
}

void drawQrPicture(Framebuffer& frame, std::string_view bits, int alignment, Rect area) {
    const int left = placeX(alignment, area, kQrPictureSide);
    const int top = area.y + (area.height - kQrPictureSide) / 2;
    for (int y = 0; y < kQrPictureSide; ++y)
        for (int x = 0; x < kQrPictureSide; ++x) {
            const std::size_t bit = static_cast<std::size_t>(y) * kQrPictureSide + x;
            if (bit / 8 >= bits.size())
                return;
            const bool black = static_cast<unsigned char>(bits[bit / 8]) & (0x80 >> (bit % 8));
            frame.setPixel(left + x, top + y, black ? kDarkModule : kLightModule);
        }
}

} // namespace tavisto::sim
