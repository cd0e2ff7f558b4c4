#include "settings/Vocabulary.h"

#include "settings/CodePage.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavisto {
namespace {

TEST(Vocabulary, LookupsFindTheRowOfAKey) {
    EXPECT_EQ(IndexOfBaudRate(SetBaudRates, 4, 4), 4);
    EXPECT_EQ(IndexOfBaudRate(PortBaudRates, 4, 0), 0);
    EXPECT_EQ(IndexOfCommandMode(CommandModes, 14, 255), 14);
    EXPECT_EQ(IndexOfCommandMode(CommandModes, 14, 13), 13);
    EXPECT_EQ(IndexOfCodePage(CodePages, 26, 19), 7);  // CP858
    EXPECT_EQ(IndexOfCodePage(CodePages, 26, 54), 3);  // CP737_S1
    EXPECT_EQ(IndexOfCodePage(CodePages, 26, 52), 26); // WCP1258
    EXPECT_EQ(IndexOfInterChar(InterChars, 19, 255), 19);
    EXPECT_EQ(IndexOfInterChar(InterChars, 19, 18), 18);
}

TEST(Vocabulary, LookupsOfAMissingKeyGiveMinusOne) {
    EXPECT_EQ(IndexOfCommandMode(CommandModes, 14, 200), -1);
    EXPECT_EQ(IndexOfBaudRate(SetBaudRates, 4, 5), -1);
    EXPECT_EQ(IndexOfInterChar(InterChars, 19, 19), -1);
    EXPECT_EQ(IndexOfCodePage(CodePages, 26, 737), -1); // CodePageName is not the key
    EXPECT_EQ(IndexOfCodePage(CodePages, 26, 8), -1);   // nor CodePageNoOld (WCP1252)
    EXPECT_EQ(IndexOfCodePage(CodePages, 26, -1), -1);
}

TEST(Vocabulary, LookupsStopAtTheHighestIndexAndTheTableEnd) {
    EXPECT_EQ(IndexOfCommandMode(CommandModes, 13, 255), -1);
    EXPECT_EQ(IndexOfCommandMode(CommandModes, -1, 0), -1);
    EXPECT_EQ(IndexOfBaudRate(SetBaudRates, 1000, 4), 4);
    // A view of the first three rows must not see rows 3 and 4 behind it.
    const std::span<const TBaudRates> firstThree(SetBaudRates.data(), 3);
    EXPECT_EQ(IndexOfBaudRate(firstThree, 4, 3), -1);
    EXPECT_EQ(IndexOfBaudRate(firstThree, 4, 2), 2);
    EXPECT_EQ(IndexOfBaudRate({}, 4, 0), -1);
}

TEST(Vocabulary, ADuplicateKeyResolvesToTheFirstRow) {
    const TCodePages rows[] = {{"A", 1, 0, 7}, {"B", 2, 0, 9}, {"C", 3, 0, 9}};
    EXPECT_EQ(IndexOfCodePage(rows, 2, 9), 1);
    const TInterChars sets[] = {{"x", "x", 4, 0, 0}, {"y", "y", 4, 1, 1}};
    EXPECT_EQ(IndexOfInterChar(sets, 1, 4), 0);
}

TEST(Vocabulary, TablesHaveTheirRowsInListOrder) {
    ASSERT_EQ(SetBaudRates.size(), 5u);
    EXPECT_TRUE(std::equal(SetBaudRates.begin(), SetBaudRates.end(), PortBaudRates.begin(),
                           [](const TBaudRates& a, const TBaudRates& b) {
                               return a.BaudRateName == b.BaudRateName &&
                                      a.BaudRateNo == b.BaudRateNo;
                           }));
    EXPECT_EQ(SetBaudRates[4].BaudRateName, "115200");
    ASSERT_EQ(CommandModes.size(), 15u);
    EXPECT_EQ(CommandModes[1].CommandName, "EPSON Esc/POS");
    EXPECT_EQ(CommandModes[14].CommandName, "AUTO");
    ASSERT_EQ(InterChars.size(), 20u);
    EXPECT_EQ(InterChars[18].DisplayNameEn, "Baltic States");
    EXPECT_EQ(InterChars[18].DisplayNameZh, "\xE6\xB3\xA2\xE7\xBD\x97\xE7\x9A\x84\xE6\xB5\xB7"
                                            "\xE5\x9B\xBD\xE5\xAE\xB6"); // 波罗的海国家
    ASSERT_EQ(CodePages.size(), 27u);
    EXPECT_EQ(CodePages[2].DisplayName, "CP737_S");
    EXPECT_EQ(CodePages[2].CodePageName, 737);
    EXPECT_EQ(CodePages[3].CodePageName, 28597);
    EXPECT_EQ(CodePages[21].CodePageNoOld, 8);
    EXPECT_EQ(CodePages[21].CodePageNoNew, 16);
}

TEST(Vocabulary, EveryCharacterSetNamesAnExistingCodePage) {
    for (const TInterChars& set : InterChars) {
        EXPECT_NE(IndexOfCodePage(CodePages, 26, set.SetCodePageNo), -1) << set.DisplayNameEn;
        EXPECT_EQ(set.DownCodePageNo, set.SetCodePageNo) << set.DisplayNameEn;
    }
}

TEST(Vocabulary, ChineseNamesAreWellFormedGbkText) {
    for (const TInterChars& set : InterChars) {
        const std::string name(set.DisplayNameZh);
        const Bytes gbk = TextToCodePage(name, 936);
        EXPECT_EQ(gbk.find('?'), Bytes::npos) << set.DisplayNameEn;
        EXPECT_EQ(CodePageToText(gbk, 936), name) << set.DisplayNameEn;
    }
}

} // namespace
} // namespace tavisto
