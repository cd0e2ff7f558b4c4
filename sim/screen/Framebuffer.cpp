#include "sim/screen/Framebuffer.h"

#include <algorithm>
#include <array>

namespace tavisto::sim {

Framebuffer::Framebuffer(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

void Framebuffer::fill(Rect area, std::uint16_t colour) {
    const int x0 = std::max(0, area.x);
    const int x1 = std::min(width_, area.right());
    const int y0 = std::max(0, area.y);
    const int y1 = std::min(height_, area.bottom());
    for (int y = y0; y < y1; ++y)
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(index(x0, y)),
                    std::max(0, x1 - x0), colour);
}

void Framebuffer::blitRgb565(int x, int y, int width, int height, const unsigned char* bytes,
                             Rect clip) {
    const int x0 = std::max({0, x, clip.x});
    const int x1 = std::min({width_, x + width, clip.right()});
    const int y0 = std::max({0, y, clip.y});
    const int y1 = std::min({height_, y + height, clip.bottom()});
    for (int py = y0; py < y1; ++py) {
        const unsigned char* src =
            bytes + (static_cast<std::size_t>(py - y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x0 - x)) *
                        2;
        std::uint16_t* dst = &pixels_[index(x0, py)];
        for (int px = x0; px < x1; ++px, src += 2)
            *dst++ = static_cast<std::uint16_t>(src[0] | (src[1] << 8));
    }
}

int backlightPercent(int brightnessStep) {
    // Steps 1 to 4 drive the backlight at 20, 40, 60 and 100 %; the eye sees a dimmed
    // backlight brighter than its duty, so the picture is dimmed less than that.
    switch (brightnessStep) {
    case 1:
        return 55;
    case 2:
        return 70;
    case 3:
        return 85;
    default:
        return 100;
    }
}

std::vector<std::uint8_t> panelLight(const Framebuffer& frame, int brightnessStep) {
    const int percent = backlightPercent(brightnessStep);
    std::array<std::uint8_t, 32> five{};
    std::array<std::uint8_t, 64> six{};
    for (int v = 0; v < 32; ++v)
        five[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>(((v << 3) | (v >> 2)) * percent / 100);
    for (int v = 0; v < 64; ++v)
        six[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>(((v << 2) | (v >> 4)) * percent / 100);
    std::vector<std::uint8_t> out(frame.pixels().size() * 3);
    std::uint8_t* o = out.data();
    for (std::uint16_t p : frame.pixels()) {
        *o++ = five[p >> 11];
        *o++ = six[(p >> 5) & 0x3F];
        *o++ = five[p & 0x1F];
    }
    return out;
}

} // namespace tavisto::sim
