// Arbitrary bytes through the code-page conversions, both ways, for single-byte and
// double-byte code pages. The first input byte picks the code page.
#include "settings/CodePage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tavisto;

namespace {

constexpr std::array kCodePages{437, 737, 850, 866, 932, 936, 949, 950, 1252, 1258, 28597};

// Whether the text is well-formed UTF-8 (the conversions must only ever produce that).
bool isUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3;
        else if (lead >= 0xE0 && lead <= 0xEF)
            extra = 2;
        else if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1;
        else if (lead >= 0x80)
            return false;
        if (text.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int codePage = kCodePages[data[0] % kCodePages.size()];
    const Bytes bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::string text = CodePageToText(bytes, codePage);
    if (!isUtf8(text))
        std::abort();
    TextToCodePage(text, codePage);
    // The same bytes taken as (possibly broken) UTF-8 text.
    TextToCodePage(bytes, codePage);
    return 0;
}
