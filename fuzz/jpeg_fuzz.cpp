// Arbitrary bytes as a JPEG file: the probe and the decoder (full size and scaled)
// may refuse them with PictureError, and must do nothing else.
#include "fuzz/picture_fuzz.h"
#include "pictures/JpegCodec.h"

#include <cstddef>
#include <cstdint>

using namespace tavisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(reinterpret_cast<const char*>(data), size);
    fuzz::probeThenDecode(file, ProbeJpeg, [](const Bytes& f) { return DecodeJpeg(f); });
    // The scaled decode takes another path through the library; its size is smaller,
    // so only the absence of faults is checked.
    try {
        const PictureSize full = ProbeJpeg(file);
        if (static_cast<std::int64_t>(full.width) * full.height <= fuzz::kMaxFuzzPixels * 4)
            DecodeJpeg(file, 4);
    } catch (const PictureError&) {
    }
    return 0;
}
