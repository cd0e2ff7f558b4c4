// The system's code-page conversion against ICU's, as the Linux build recorded it
// (tests/settings/RecordCodePages.cpp): every byte and byte pair of every code page
// of the CodePages table, and every character of the Basic Multilingual Plane.
#include "settings/CodePage.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace tavisto {
namespace {

Bytes fromHex(const std::string& hex) {
    Bytes bytes;
    if (hex == "-")
        return bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string toHex(const Bytes& bytes) {
    std::ostringstream out;
    for (unsigned char byte : bytes)
        out << std::hex << std::uppercase << (byte < 16 ? "0" : "") << int(byte);
    return bytes.empty() ? "-" : out.str();
}

void appendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

TEST(CodePageTable, TheSystemsConversionGivesIcusBytesAndTexts) {
    const char* tablePath = std::getenv("TAVISTO_CODE_PAGE_TABLE");
    ASSERT_NE(tablePath, nullptr) << "run this program through run-under-wine.sh";
    std::ifstream table(tablePath, std::ios::binary);
    ASSERT_TRUE(table) << tablePath;

    std::map<int, int> rows, mismatches;
    std::map<int, std::string> firstMismatch;
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string kind, page, key, expected;
        std::getline(fields, kind, '\t');
        std::getline(fields, page, '\t');
        std::getline(fields, key, '\t');
        std::getline(fields, expected, '\t');
        const int codePage = std::stoi(page);
        std::string got;
        if (kind == "D") {
            got = toHex(CodePageToText(fromHex(key), codePage));
        } else {
            const auto first = static_cast<char32_t>(std::stoul(key));
            std::string text;
            for (char32_t c = first; c < first + 256; ++c)
                appendUtf8(text, c);
            got = toHex(TextToCodePage(text, codePage));
        }
        ++rows[codePage];
        if (got != expected && mismatches[codePage]++ == 0)
            firstMismatch[codePage] = kind + " " + key + ": ICU " + expected.substr(0, 80) +
                                      ", system " + got.substr(0, 80);
    }
    EXPECT_GE(rows.size(), 25u);
    for (const auto& [codePage, count] : mismatches)
        if (count > 0)
            ADD_FAILURE() << "code page " << codePage << ": " << count << " of " << rows[codePage]
                          << " rows differ; first " << firstMismatch[codePage];
}

} // namespace
} // namespace tavisto
