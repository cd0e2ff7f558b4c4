// Arbitrary bytes as a BMP file: the probe and the decoder may refuse them with
// PictureError, and must do nothing else.
#include "fuzz/picture_fuzz.h"
#include "pictures/BmpCodec.h"

#include <cstddef>
#include <cstdint>

using namespace tavisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(reinterpret_cast<const char*>(data), size);
    fuzz::probeThenDecode(file, ProbeBmp, DecodeBmp);
    return 0;
}
