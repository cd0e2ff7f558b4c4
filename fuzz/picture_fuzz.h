#pragma once

// Shared by the picture-decoder fuzz targets: probe the header, and decode only
// pictures small enough to keep each run short (the decoders themselves refuse
// anything above kMaxPicturePixels, which would still take seconds per input).
#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "pictures/PictureError.h"
#include "pictures/PictureGeometry.h"

#include <cstdint>
#include <cstdlib>

namespace tavisto::fuzz {

inline constexpr std::int64_t kMaxFuzzPixels = 1'000'000;

template <typename Probe, typename Decode>
void probeThenDecode(const Bytes& file, Probe probe, Decode decode) {
    PictureSize size;
    try {
        size = probe(file);
    } catch (const PictureError&) {
        return;
    }
    if (size.width < 1 || size.height < 1)
        std::abort(); // a probe that succeeds must give a usable size
    if (static_cast<std::int64_t>(size.width) * size.height > kMaxFuzzPixels)
        return;
    try {
        const Bitmap bitmap = decode(file);
        if (bitmap.width() != size.width || bitmap.height() != size.height ||
            bitmap.data().size() != bitmap.rowBytes() * static_cast<std::size_t>(bitmap.height()))
            std::abort();
    } catch (const PictureError&) {
    }
}

} // namespace tavisto::fuzz
