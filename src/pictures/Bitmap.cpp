#include "pictures/Bitmap.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace tavisto {

Bitmap::Bitmap(int width, int height, Rgb fill) : width_(width), height_(height) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("Bitmap size must not be negative");
    const auto bytes =
        static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) * 3;
    if (bytes > std::numeric_limits<std::size_t>::max() / 2)
        throw std::invalid_argument("Bitmap size is too large");
    pixels_.resize(static_cast<std::size_t>(bytes));
    this->fill(fill);
}

Rgb Bitmap::pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
    return Rgb{p[0], p[1], p[2]};
}

void Bitmap::setPixel(int x, int y, Rgb colour) {
    std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

void Bitmap::fill(Rgb colour) {
    if (colour.r == colour.g && colour.g == colour.b) {
        std::fill(pixels_.begin(), pixels_.end(), colour.r);
        return;
    }
    for (std::size_t i = 0; i + 2 < pixels_.size(); i += 3) {
        pixels_[i] = colour.r;
        pixels_[i + 1] = colour.g;
        pixels_[i + 2] = colour.b;
    }
}

} // namespace tavisto
