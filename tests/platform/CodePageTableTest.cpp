// The system's code-page conversion against ICU's, as the Linux build recorded it
// (tests/settings/RecordCodePages.cpp), for every byte and byte pair of every code
// page of the CodePages table: each character of a code page must come from the same
// bytes and go back to them on both systems.
//
// Characters that ICU finds nowhere in a code page are left out: bytes without a
// character, private-use stand-ins, and what a conversion makes of characters by best
// fit. There the tables of the two systems legitimately differ; docs/WINDOWS.md says
// how.
#include "settings/CodePage.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <windows.h>

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

// One character of the code page itself: not U+FFFD, not a private-use stand-in.
bool isOwnCharacter(const std::string& utf8) {
    const std::wstring wide = [&] {
        std::wstring units(8, L'\0');
        const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                          units.data(), 8);
        units.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return units;
    }();
    return wide.size() == 1 && wide[0] != 0xFFFD && !(wide[0] >= 0xE000 && wide[0] <= 0xF8FF);
}

// Where the two systems' tables assign a byte differently; every other byte of these
// code pages must agree.
const std::map<int, std::set<std::string>> kTableDifferences = {
    // IBM's table (ICU's) and Microsoft's read these four bytes as different forms of
    // the same letters and marks (U+200B or U+009F at 9F, initial or isolated forms at
    // D7/D8, the isolated shadda or the combining one at F1).
    {864, {"9F", "D7", "D8", "F1"}},
    // ICU's table has FEMININE ORDINAL INDICATOR at AA; Windows has none there.
    {1253, {"AA"}},
    // ICU follows ISO-8859-7:2003 (quotation marks at A1/A2, euro and drachma signs at
    // A4/A5, ypogegrammeni at AA); the system's table is the 1987 edition.
    {28597, {"A1", "A2", "A4", "A5", "AA"}},
};

TEST(CodePageTable, EveryCharacterOfEveryCodePageHasTheSameBytesAsWithIcu) {
    const char* tablePath = std::getenv("TAVISTO_CODE_PAGE_TABLE");
    ASSERT_NE(tablePath, nullptr) << "run this program through run-under-wine.sh";
    std::ifstream table(tablePath, std::ios::binary);
    ASSERT_TRUE(table) << tablePath;

    std::map<int, int> checked, differing;
    std::set<int> missing;
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string page, bytesHex, textHex, backHex;
        fields >> page >> bytesHex >> textHex >> backHex;
        const int codePage = std::stoi(page);
        if (!IsValidCodePage(static_cast<UINT>(codePage))) {
            missing.insert(codePage);
            continue;
        }
        const Bytes bytes = fromHex(bytesHex);
        const std::string text = fromHex(textHex);
        if (!isOwnCharacter(text) || backHex != bytesHex)
            continue;
        const auto known = kTableDifferences.find(codePage);
        if (known != kTableDifferences.end() && known->second.count(bytesHex))
            continue;
        ++checked[codePage];
        const std::string decoded = toHex(CodePageToText(bytes, codePage));
        const std::string encoded = toHex(TextToCodePage(text, codePage));
        if ((decoded != textHex || encoded != bytesHex) && differing[codePage]++ < 5)
            ADD_FAILURE() << "code page " << codePage << ", bytes " << bytesHex << ": ICU reads "
                          << textHex << ", the system " << decoded << "; the system writes "
                          << encoded;
    }
    EXPECT_GE(checked.size() + missing.size(), 25u);
    for (const auto& [codePage, count] : differing)
        ADD_FAILURE() << "code page " << codePage << ": " << count << " of " << checked[codePage]
                      << " characters differ";
    // Wine has no table for some code pages Windows has (858); the program then
    // converts nothing in them, which the other tests of the conversion show.
    for (int codePage : missing)
        std::cout << "code page " << codePage << ": the system has no table; not compared\n";
}

} // namespace
} // namespace tavisto
