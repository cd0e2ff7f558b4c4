#pragma once

#include "sim/device/Storage.h"

#include <map>
#include <string>
#include <string_view>

namespace tavisto::sim {

// The pictures a display keeps (start logo, header logo and picture, the ten play
// pictures), as raw RGB565 of the slot's size, low byte first. The addressed models
// store them raw; the named ones store JPEG files, which are decoded once and kept
// until the stored file changes.
class StoredPictures {
public:
    // The picture of a download-table item (for example "Picture_3"), `width` x
    // `height` pixels; empty when it is not stored, cannot be decoded or (stored raw)
    // has another size. A decoded picture of another size is cut or filled with black.
    std::string_view find(const Storage& storage, int model, std::string_view item, int width,
                          int height);

private:
    struct Decoded {
        std::string source;
        std::string pixels;
    };
    std::map<std::string, Decoded, std::less<>> decoded_;
};

} // namespace tavisto::sim
