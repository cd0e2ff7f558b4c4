#pragma once

#include <cstdint>
#include <vector>

namespace tavisto::sim {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool contains(int px, int py) const {
        return px >= x && px < right() && py >= y && py < bottom();
    }
};

// The panel's pixels as the display keeps them: RGB565, rows from top to bottom.
class Framebuffer {
public:
    Framebuffer() = default;
    Framebuffer(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint16_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, std::uint16_t colour) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[index(x, y)] = colour;
    }
    // Fills the part of `area` that lies on the panel.
    void fill(Rect area, std::uint16_t colour);
    // Copies a raw RGB565 picture (two bytes a pixel, low byte first) to (x, y),
    // clipped to `clip` and to the panel.
    void blitRgb565(int x, int y, int width, int height, const unsigned char* bytes, Rect clip);

    const std::vector<std::uint16_t>& pixels() const { return pixels_; }
    friend bool operator==(const Framebuffer&, const Framebuffer&) = default;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint16_t> pixels_;
};

// The panel's light as 24-bit R, G, B bytes: RGB565 widened as a panel shows it (the
// top bits repeated into the freed low bits, so 0xFFFF is full white) and dimmed by
// the backlight step 1..4.
std::vector<std::uint8_t> panelLight(const Framebuffer& frame, int brightnessStep);

// The share of full light a backlight step gives, in percent.
int backlightPercent(int brightnessStep);

} // namespace tavisto::sim
