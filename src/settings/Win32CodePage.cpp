#include "settings/CodePage.h"

#include <algorithm>
#include <climits>
#include <windows.h>

namespace tavisto {
namespace {

// The code page numbers of the CodePages table; Windows has a table for each.
constexpr int kCodePages[] = {437,  737,  850,  852,  857,  858,  860,  863,  864,
                              865,  866,  874,  932,  936,  949,  950,  1250, 1251,
                              1252, 1253, 1255, 1256, 1257, 1258, 28597};

bool supported(int codePageName) {
    return std::find(std::begin(kCodePages), std::end(kCodePages), codePageName) !=
           std::end(kCodePages);
}

// The Windows calls count lengths in int; longer inputs are refused, not truncated.
constexpr std::size_t kMaxLength = INT_MAX / 4;

std::wstring utf8ToUtf16(const std::string& text) {
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring units(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), units.data(),
                            length);
    return units;
}

std::string utf16ToUtf8(const std::wstring& units) {
    if (units.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, units.data(), static_cast<int>(units.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, units.data(), static_cast<int>(units.size()), text.data(),
                            length, nullptr, nullptr);
    return text;
}

// One character's bytes to UTF-16; false when the code page has no character for them.
bool decodeCharacter(int codePage, const char* bytes, int count, std::wstring& out) {
    wchar_t units[4];
    const int length = MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS, bytes,
                                           count, units, 4);
    if (length <= 0)
        return false;
    out.append(units, static_cast<std::size_t>(length));
    return true;
}

// The second bytes a double-byte code page uses: 40-7E and 80-FC (932) or 80-FE.
bool isTrailByte(int codePage, unsigned char byte) {
    if (byte < 0x40 || byte == 0x7F)
        return false;
    return byte <= (codePage == 932 ? 0xFC : 0xFE);
}

} // namespace

Bytes TextToCodePage(const std::string& utf8Text, int codePageName) {
    if (!supported(codePageName) || utf8Text.size() > kMaxLength)
        return {};
    const std::wstring units = utf8ToUtf16(utf8Text);
    if (units.empty())
        return {};
    // No flags: the table's best-fit mappings are used (YEN SIGN to 5C in 932), and
    // what has no mapping at all becomes "?".
    const UINT codePage = static_cast<UINT>(codePageName);
    const int length = WideCharToMultiByte(
        codePage, 0, units.data(), static_cast<int>(units.size()), nullptr, 0, "?", nullptr);
    Bytes bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, units.data(), static_cast<int>(units.size()), bytes.data(),
                            length, "?", nullptr);
    return bytes;
}

std::string CodePageToText(const Bytes& bytes, int codePageName) {
    if (!supported(codePageName) || bytes.size() > kMaxLength)
        return {};
    // Character by character, so that a byte without a character becomes U+FFFD on its
    // own instead of failing the whole text (MB_ERR_INVALID_CHARS) or turning into the
    // table's default character.
    const UINT codePage = static_cast<UINT>(codePageName);
    std::wstring units;
    units.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (IsDBCSLeadByteEx(codePage, lead)) {
            if (i + 1 < bytes.size() && decodeCharacter(codePageName, bytes.data() + i, 2, units)) {
                i += 2;
                continue;
            }
            // A broken pair is one U+FFFD. Its second byte goes with it when it lies in
            // the code page's trail-byte range; otherwise it is read again on its own
            // (as ICU reads such pairs).
            units.push_back(L'\uFFFD');
            i += 1;
            if (i < bytes.size() && isTrailByte(codePageName, static_cast<unsigned char>(bytes[i])))
                i += 1;
            continue;
        }
        if (!decodeCharacter(codePageName, bytes.data() + i, 1, units))
            units.push_back(L'\uFFFD');
        i += 1;
    }
    return utf16ToUtf8(units);
}

} // namespace tavisto
