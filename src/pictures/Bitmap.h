#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavisto {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};

// An owned 24-bit picture: rows from top to bottom, each pixel three bytes R, G, B,
// no row padding.
class Bitmap {
public:
    Bitmap() = default;
    // Throws std::invalid_argument for a negative size or one whose bytes overflow.
    Bitmap(int width, int height, Rgb fill = kWhite);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    std::uint8_t* row(int y) { return pixels_.data() + rowOffset(y); }
    const std::uint8_t* row(int y) const { return pixels_.data() + rowOffset(y); }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width_) * 3; }

    Rgb pixel(int x, int y) const;
    void setPixel(int x, int y, Rgb colour);
    void fill(Rgb colour);

    const std::vector<std::uint8_t>& data() const { return pixels_; }
    std::vector<std::uint8_t>& data() { return pixels_; }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    std::size_t rowOffset(int y) const { return static_cast<std::size_t>(y) * rowBytes(); }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace tavisto
