#include "resources/fonts/CellCodes.h"

#include "settings/CodePage.h"

#include <array>
#include <map>

namespace tavisto::fonts {

namespace {

constexpr int kLeadFirst = 0x81;
constexpr int kLeadLast = 0xFE;
constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFE;

// The single code point that UTF-8 `text` holds, or 0 when it holds none or more.
char32_t singleCodePoint(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    if (n == 1 && p[0] < 0x80)
        return p[0];
    if (n == 2 && (p[0] & 0xE0) == 0xC0)
        return static_cast<char32_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F));
    if (n == 3 && (p[0] & 0xF0) == 0xE0)
        return static_cast<char32_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
    if (n == 4 && (p[0] & 0xF8) == 0xF0)
        return static_cast<char32_t>(((p[0] & 0x07) << 18) | ((p[1] & 0x3F) << 12) |
                                     ((p[2] & 0x3F) << 6) | (p[3] & 0x3F));
    return 0;
}

// Controls, private-use characters and U+FFFD (no character) draw nothing.
char32_t drawable(char32_t cp) {
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp == 0xFFFD)
        return 0;
    if (cp >= 0xE000 && cp <= 0xF8FF)
        return 0;
    return cp;
}

char32_t decode(const std::string& bytes, int codePage) {
    return drawable(singleCodePoint(CodePageToText(bytes, codePage)));
}

std::vector<char32_t> codePageCells(int codePage) {
    std::vector<char32_t> cells(256, 0);
    for (int byte = 0; byte < 256; ++byte)
        cells[static_cast<std::size_t>(byte)] =
            decode(std::string(1, static_cast<char>(byte)), codePage);
    return cells;
}

// ASCII below 0x80 and the half-width katakana U+FF61..U+FF9F at 0xA1..0xDF, as
// JIS X 0201 places them.
std::vector<char32_t> katakanaCells() {
    std::vector<char32_t> cells(256, 0);
    for (char32_t byte = 0x20; byte < 0x7F; ++byte)
        cells[byte] = byte;
    for (char32_t byte = 0xA1; byte <= 0xDF; ++byte)
        cells[byte] = 0xFF61 + (byte - 0xA1);
    return cells;
}

// The characters an international set puts at 23 24 40 5B 5C 5D 5E 60 7B 7C 7D 7E.
// The first eleven are the usual ESC R sets of receipt printers; SLAVONIC is the
// Slovenian/Croatian set and RUSSIA the Cyrillic letters of KOI-7 N1 there.
using IntlSet = std::array<char32_t, 12>;
const std::map<std::string, IntlSet>& internationalSets() {
    static const std::map<std::string, IntlSet> sets{
        {"USA", {U'#', U'$', U'@', U'[', U'\\', U']', U'^', U'`', U'{', U'|', U'}', U'~'}},
        {"FRANCE", {U'#', U'$', U'à', U'°', U'ç', U'§', U'^', U'`', U'é', U'ù', U'è', U'¨'}},
        {"GERMANY", {U'#', U'$', U'§', U'Ä', U'Ö', U'Ü', U'^', U'`', U'ä', U'ö', U'ü', U'ß'}},
        {"UK", {U'£', U'$', U'@', U'[', U'\\', U']', U'^', U'`', U'{', U'|', U'}', U'~'}},
        {"DENMARK_I", {U'#', U'$', U'@', U'Æ', U'Ø', U'Å', U'^', U'`', U'æ', U'ø', U'å', U'~'}},
        {"SWEDEN", {U'#', U'¤', U'É', U'Ä', U'Ö', U'Å', U'Ü', U'é', U'ä', U'ö', U'å', U'ü'}},
        {"ITALY", {U'#', U'$', U'@', U'°', U'\\', U'é', U'^', U'ù', U'à', U'ò', U'è', U'ì'}},
        {"SPAIN", {U'₧', U'$', U'@', U'¡', U'Ñ', U'¿', U'^', U'`', U'¨', U'ñ', U'}', U'~'}},
        {"JAPAN", {U'#', U'$', U'@', U'[', U'¥', U']', U'^', U'`', U'{', U'|', U'}', U'~'}},
        {"NORWAY", {U'#', U'¤', U'É', U'Æ', U'Ø', U'Å', U'Ü', U'é', U'æ', U'ø', U'å', U'ü'}},
        {"DENMARK_II", {U'#', U'$', U'É', U'Æ', U'Ø', U'Å', U'Ü', U'é', U'æ', U'ø', U'å', U'ü'}},
        {"SLAVONIC", {U'#', U'$', U'Ž', U'Š', U'Đ', U'Ć', U'Č', U'ž', U'š', U'đ', U'ć', U'č'}},
        {"RUSSIA", {U'#', U'¤', U'ю', U'ш', U'э', U'щ', U'ч', U'Ю', U'Ш', U'Э', U'Щ', U'Ч'}},
    };
    return sets;
}

std::string twoBytes(int lead, int trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

std::vector<char32_t> gbkCells() {
    std::vector<char32_t> cells;
    cells.reserve(126 * 191);
    for (int lead = kLeadFirst; lead <= kLeadLast; ++lead) {
        for (int trail = kTrailFirst; trail <= kTrailLast; ++trail)
            cells.push_back(decode(twoBytes(lead, trail), 936));
    }
    return cells;
}

// UTF-8 of one code point.
std::string utf8(char32_t cp) {
    std::string text;
    if (cp < 0x80) {
        text += static_cast<char>(cp);
    } else if (cp < 0x800) {
        text += static_cast<char>(0xC0 | (cp >> 6));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        text += static_cast<char>(0xE0 | (cp >> 12));
        text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (cp >> 18));
        text += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return text;
}

} // namespace

std::optional<std::vector<char32_t>> CellCodePoints(const std::string& mapping) {
    if (mapping == "katakana")
        return katakanaCells();
    if (mapping == "gbk")
        return gbkCells();
    if (mapping.starts_with("cp:")) {
        const int codePage = std::stoi(mapping.substr(3));
        if (CodePageToText(std::string(1, 'A'), codePage) != "A")
            return std::nullopt; // no such code page
        return codePageCells(codePage);
    }
    if (mapping.starts_with("intl:")) {
        const auto& sets = internationalSets();
        const auto set = sets.find(mapping.substr(5));
        if (set == sets.end())
            return std::nullopt;
        return std::vector<char32_t>(set->second.begin(), set->second.end());
    }
    return std::nullopt;
}

std::vector<std::uint8_t> Big5ToGbkTable() {
    std::vector<std::uint8_t> table;
    table.reserve(126 * 191 * 2);
    for (int lead = kLeadFirst; lead <= kLeadLast; ++lead) {
        for (int trail = kTrailFirst; trail <= kTrailLast; ++trail) {
            const char32_t cp = decode(twoBytes(lead, trail), 950);
            // A character GBK lacks comes back as "?"; only a two-byte code is one.
            const std::string gbk = cp < 0x80 ? std::string() : TextToCodePage(utf8(cp), 936);
            const bool held = gbk.size() == 2;
            table.push_back(held ? static_cast<std::uint8_t>(gbk[0]) : 0);
            table.push_back(held ? static_cast<std::uint8_t>(gbk[1]) : 0);
        }
    }
    return table;
}

} // namespace tavisto::fonts
