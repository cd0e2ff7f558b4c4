#include "sim/screen/StoredPictures.h"

#include "pictures/JpegCodec.h"
#include "sim/device/Models.h"
#include "sim/screen/StoredItems.h"

#include <algorithm>
#include <exception>

namespace tavisto::sim {

namespace {

std::string toRgb565(const Bitmap& picture, int width, int height) {
    std::string out(static_cast<std::size_t>(width) * height * 2, '\0');
    const int w = std::min(width, picture.width());
    const int h = std::min(height, picture.height());
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = picture.row(y);
        char* o = out.data() + static_cast<std::size_t>(y) * width * 2;
        for (int x = 0; x < w; ++x, p += 3) {
            const unsigned v = (p[0] >> 3) << 11 | (p[1] >> 2) << 5 | (p[2] >> 3);
            *o++ = static_cast<char>(v & 0xFF);
            *o++ = static_cast<char>(v >> 8);
        }
    }
    return out;
}

} // namespace

std::string_view StoredPictures::find(const Storage& storage, int model, std::string_view item,
                                      int width, int height) {
    const std::string_view stored = storedItem(storage, model, item);
    if (stored.empty())
        return {};
    if (!usesNamedTransfer(model)) {
        const std::size_t size = static_cast<std::size_t>(width) * height * 2;
        return stored.size() == size ? stored : std::string_view{};
    }
    auto it = decoded_.find(item);
    if (it != decoded_.end() && it->second.source == stored)
        return it->second.pixels;
    Decoded d;
    d.source = std::string(stored);
    try {
        d.pixels = toRgb565(DecodeJpeg(d.source), width, height);
    } catch (const std::exception&) {
        d.pixels.clear(); // a file that is not a picture shows as none
    }
    auto& slot = decoded_[std::string(item)];
    slot = std::move(d);
    return slot.pixels;
}

} // namespace tavisto::sim
