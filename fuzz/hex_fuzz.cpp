// Arbitrary text through the hex helpers. HexError is the expected answer to a
// character that is not a hex digit; any other exception or fault is a bug.
#include "protocol/Hex.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tavisto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    try {
        const Bytes bytes = HexToBytes(text);
        if (bytes.size() != (text.size() + 1) / 2)
            std::abort();
    } catch (const HexError&) {
    }

    const Bytes lenient = HexTextToBytes(text);
    if (lenient.size() > (text.size() + 1) / 2)
        std::abort();
    // Lenient reading of strict hex gives the same bytes back.
    const std::string hex = BytesToHex(lenient);
    if (HexTextToBytes(hex) != lenient || HexToBytes(hex) != lenient)
        std::abort();

    try {
        HexToValue(text);
    } catch (const HexError&) {
    }
    return 0;
}
