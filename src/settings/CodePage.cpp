#include "settings/CodePage.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <span>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

namespace tavisto {
namespace {

// A byte that maps to a character one to one, bypassing the ICU table. Such bytes must
// never be lead or trail bytes of the code page, since conversion is split at them.
struct ByteOverride {
    unsigned char byte;
    char16_t unit;
};

// ICU's IBM PC tables swap three controls (1A = U+001C, 1C = U+007F, 7F = U+001A), as
// IBM's own tables do; the Windows tables map them one to one.
constexpr ByteOverride kPcControls[] = {{0x1A, 0x001A}, {0x1C, 0x001C}, {0x7F, 0x007F}};
// Windows also reads E6 as MICRO SIGN where IBM reads GREEK SMALL LETTER MU.
constexpr ByteOverride kPcControlsMicro[] = {
    {0x1A, 0x001A}, {0x1C, 0x001C}, {0x7F, 0x007F}, {0xE6, 0x00B5}};
// Windows 852 has NOT SIGN at AA, which ICU's table leaves unassigned.
constexpr ByteOverride kPcControls852[] = {
    {0x1A, 0x001A}, {0x1C, 0x001C}, {0x7F, 0x007F}, {0xAA, 0x00AC}};

struct CodePageConverter {
    int number;
    const char* icuName; // canonical ICU name, so no alias can be ambiguous
    std::span<const ByteOverride> overrides;
    // Whether characters the code page lacks are written by the table's fallbacks
    // (one-way mappings to a similar character, as Windows' best fit does). Off where
    // they are not the ones Windows uses: IBM's 860, 863 and 865 write fullwidth forms as
    // ASCII and 864 writes Arabic letters as their presentation forms; Windows writes
    // "?" for all of these.
    bool fallbacks = true;
};

constexpr CodePageConverter kConverters[] = {
    {437, "ibm-437_P100-1995", kPcControlsMicro},
    {737, "ibm-737_P100-1997", kPcControls},
    {850, "ibm-850_P100-1995", kPcControls},
    {852, "ibm-852_P100-1995", kPcControls852},
    {857, "ibm-857_P100-1995", kPcControls},
    {858, "ibm-858_P100-1997", kPcControls},
    {860, "ibm-860_P100-1995", kPcControlsMicro, false},
    {863, "ibm-863_P100-1995", kPcControlsMicro, false},
    {864, "ibm-864_X110-1999", kPcControls, false},
    {865, "ibm-865_P100-1995", kPcControlsMicro, false},
    {866, "ibm-866_P100-1995", kPcControls},
    {874, "windows-874-2000", {}},
    {932, "ibm-943_P15A-2003", kPcControls}, // Windows Shift-JIS; 1A/1C/7F are never
                                             // lead or trail bytes there
    {936, "windows-936-2000", {}},
    {949, "windows-949-2000", {}},
    {950, "windows-950-2000", {}},
    {1250, "ibm-5346_P100-1998", {}},  // windows-1250
    {1251, "ibm-5347_P100-1998", {}},  // windows-1251
    {1252, "ibm-5348_P100-1997", {}},  // windows-1252
    {1253, "ibm-5349_P100-1998", {}},  // windows-1253
    {1255, "ibm-9447_P100-2002", {}},  // windows-1255
    {1256, "ibm-9448_X100-2005", {}},  // windows-1256
    {1257, "ibm-9449_P100-2002", {}},  // windows-1257
    {1258, "ibm-5354_P100-1998", {}},  // windows-1258
    {28597, "ibm-9005_X110-2007", {}}, // ISO-8859-7:2003, with the euro sign
};

const CodePageConverter* findConverter(int codePageName) {
    for (const auto& converter : kConverters) {
        if (converter.number == codePageName)
            return &converter;
    }
    return nullptr;
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// A fresh converter per call: ICU converters must not be shared between threads.
ConverterPtr openConverter(const CodePageConverter& entry) {
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(entry.icuName, &error));
    if (U_FAILURE(error))
        return nullptr;
    return converter;
}

// Characters without bytes become "?", as on Windows. ICU's own substitute callback
// would write nothing for default-ignorable ones (soft hyphen, zero-width space,
// byte order mark, variation selectors and the like).
void substituteQuestionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                            UChar32, UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR)
        return; // reset, close or clone: nothing to substitute
    *error = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

// Bytes without a character become U+FFFD. ICU's own substitute would give U+001A for
// the tables whose substitute byte is 1A, indistinguishable from a real 1A byte.
void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR)
        return; // reset, close or clone: nothing to substitute
    const UChar replacement = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
}

// ICU counts lengths in int32_t; longer inputs are refused rather than truncated.
constexpr std::size_t kMaxLength = INT32_MAX / 4;

std::u16string utf8ToUtf16(const std::string& text) {
    std::u16string units(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8WithSub(units.data(), static_cast<int32_t>(units.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &error);
    if (U_FAILURE(error))
        return {};
    units.resize(static_cast<std::size_t>(length));
    return units;
}

std::string utf16ToUtf8(const std::u16string& units) {
    std::string text(units.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, units.data(),
                       static_cast<int32_t>(units.size()), 0xFFFD, nullptr, &error);
    if (U_FAILURE(error))
        return {};
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void appendFromUnicode(UConverter* converter, const char16_t* units, std::size_t count,
                       Bytes& out) {
    if (count == 0)
        return;
    const auto length = static_cast<int32_t>(count);
    Bytes bytes(UCNV_GET_MAX_BYTES_FOR_STRING(length, ucnv_getMaxCharSize(converter)), '\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(
        converter, bytes.data(), static_cast<int32_t>(bytes.size()), units, length, &error);
    if (U_SUCCESS(error))
        out.append(bytes.data(), static_cast<std::size_t>(written));
}

void appendToUnicode(UConverter* converter, const char* bytes, std::size_t count,
                     std::u16string& out) {
    if (count == 0)
        return;
    const auto length = static_cast<int32_t>(count);
    // One unit per byte is enough for every supported table; a longer result (a
    // substitute string, say) is measured by the first call and converted again.
    std::u16string units(count, u'\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t written = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()),
                                    bytes, length, &error);
    if (error == U_BUFFER_OVERFLOW_ERROR) {
        units.assign(static_cast<std::size_t>(written), u'\0');
        error = U_ZERO_ERROR;
        written = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()), bytes,
                                length, &error);
    }
    if (U_SUCCESS(error))
        out.append(units.data(), static_cast<std::size_t>(written));
}

} // namespace

Bytes TextToCodePage(const std::string& utf8Text, int codePageName) {
    const CodePageConverter* entry = findConverter(codePageName);
    if (entry == nullptr || utf8Text.size() > kMaxLength)
        return {};
    ConverterPtr converter = openConverter(*entry);
    if (!converter)
        return {};
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), substituteQuestionMark, nullptr, nullptr, nullptr,
                          &error);
    if (U_FAILURE(error))
        return {};
    // Use the best-fit mappings the table has (e.g. YEN SIGN to 5C in 932).
    ucnv_setFallback(converter.get(), entry->fallbacks);

    const std::u16string units = utf8ToUtf16(utf8Text);
    Bytes result;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto override =
            std::find_if(entry->overrides.begin(), entry->overrides.end(),
                         [&](const ByteOverride& o) { return o.unit == units[i]; });
        if (override == entry->overrides.end())
            continue;
        appendFromUnicode(converter.get(), units.data() + runStart, i - runStart, result);
        result.push_back(static_cast<char>(override->byte));
        runStart = i + 1;
    }
    appendFromUnicode(converter.get(), units.data() + runStart, units.size() - runStart, result);
    return result;
}

std::string CodePageToText(const Bytes& bytes, int codePageName) {
    const CodePageConverter* entry = findConverter(codePageName);
    if (entry == nullptr || bytes.size() > kMaxLength)
        return {};
    ConverterPtr converter = openConverter(*entry);
    if (!converter)
        return {};
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), substituteReplacementCharacter, nullptr, nullptr, nullptr,
                        &error);
    if (U_FAILURE(error))
        return {};

    std::u16string units;
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto override = std::find_if(entry->overrides.begin(), entry->overrides.end(),
                                           [&](const ByteOverride& o) { return o.byte == byte; });
        if (override == entry->overrides.end())
            continue;
        appendToUnicode(converter.get(), bytes.data() + runStart, i - runStart, units);
        units.push_back(override->unit);
        runStart = i + 1;
    }
    appendToUnicode(converter.get(), bytes.data() + runStart, bytes.size() - runStart, units);
    return utf16ToUtf8(units);
}

} // namespace tavisto
