// Arbitrary bytes as a PNG file: the probe and the decoder may refuse them with
// PictureError, and must do nothing else.
#include "fuzz/picture_fuzz.h"
#include "pictures/PngCodec.h"

#include <cstddef>
#include <cstdint>

using namespace tavisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(reinterpret_cast<const char*>(data), size);
    fuzz::probeThenDecode(file, ProbePng, DecodePng);
    return 0;
}
