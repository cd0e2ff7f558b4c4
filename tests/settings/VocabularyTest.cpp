#include "settings/Vocabulary.h"

#include "settings/CodePage.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

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

// Every row of every table, written out again: a row's position is the item index
// of the lists that show it, and its numbers are what goes to the display.
TEST(Vocabulary, BaudRateRows) {
    const std::vector<std::pair<std::string, int>> rows = {
        {"9600", 0}, {"19200", 1}, {"38400", 2}, {"57600", 3}, {"115200", 4}};
    for (const auto* table : {&SetBaudRates, &PortBaudRates}) {
        ASSERT_EQ(table->size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ((*table)[i].BaudRateName, rows[i].first) << "row " << i;
            EXPECT_EQ((*table)[i].BaudRateNo, rows[i].second) << "row " << i;
        }
    }
}

TEST(Vocabulary, CommandModeRows) {
    const std::vector<std::pair<std::string, int>> rows = {
        {"LD220", 0},    {"EPSON Esc/POS", 1}, {"AEDEX", 2},   {"UTC/S", 3},   {"UTC/E", 4},
        {"ADM788", 5},   {"DSP800", 6},        {"CD5220", 7},  {"EMAX", 8},    {"LOGIC CONTROL", 9},
        {"ICD2002", 10}, {"EZ-202", 11},       {"PL-200", 12}, {"KT3000", 13}, {"AUTO", 255}};
    ASSERT_EQ(CommandModes.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(CommandModes[i].CommandName, rows[i].first) << "row " << i;
        EXPECT_EQ(CommandModes[i].CommandNo, rows[i].second) << "row " << i;
    }
}

TEST(Vocabulary, InterCharRows) {
    struct Row {
        std::string en, zh;
        int number, codePage;
    };
    const std::vector<Row> rows = {
        {"USA", "美国", 0, 0},
        {"France", "法国", 1, 19},
        {"Germany", "德国", 2, 19},
        {"U.K.", "英国", 3, 19},
        {"Denmark I", "丹麦I", 4, 19},
        {"Sweden", "瑞典", 5, 19},
        {"Italy", "意大利", 6, 19},
        {"Spain", "西班牙语系", 7, 19},
        {"Japan", "日本", 8, 1},
        {"Norway", "挪威", 9, 19},
        {"Denmark II", "丹麦II", 10, 2},
        {"Slavonic", "斯拉夫语系", 11, 18},
        {"Russia", "俄罗斯", 12, 17},
        {"Greek", "希腊语系", 13, 21},
        {"Czech", "捷克语系", 14, 18},
        {"Lithuania", "立陶宛", 15, 51},
        {"Portugal", "葡萄牙语系", 16, 3},
        {"Turkey", "土耳其", 17, 9},
        {"Baltic States", "波罗的海国家", 18, 51},
        {"Other", "其他", 255, 0},
    };
    ASSERT_EQ(InterChars.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TInterChars& set = InterChars[i];
        EXPECT_EQ(set.DisplayNameEn, rows[i].en) << "row " << i;
        EXPECT_EQ(set.DisplayNameZh, rows[i].zh) << "row " << i;
        EXPECT_EQ(set.InterCharNo, rows[i].number) << "row " << i;
        EXPECT_EQ(set.SetCodePageNo, rows[i].codePage) << "row " << i;
        EXPECT_EQ(set.DownCodePageNo, rows[i].codePage) << "row " << i;
    }
}

TEST(Vocabulary, CodePageRows) {
    struct Row {
        std::string name;
        int conversion, oldNumber, number;
    };
    const std::vector<Row> rows = {
        {"CP437", 437, 0, 0},        {"CP737", 737, 17, 21},    {"CP737_S", 737, 0, 23},
        {"CP737_S1", 28597, 0, 54},  {"CP850", 850, 2, 2},      {"CP852", 852, 16, 18},
        {"CP857", 857, 9, 9},        {"CP858", 858, 18, 19},    {"CP860", 860, 3, 3},
        {"CP863", 863, 4, 4},        {"CP864", 864, 19, 22},    {"CP865", 865, 5, 5},
        {"CP866", 866, 15, 17},      {"CP866_AT", 866, 0, 15},  {"CP874", 874, 0, 55},
        {"CP932", 932, 1, 1},        {"CP936_GBK", 936, 0, 25}, {"CP949", 949, 0, 129},
        {"CP950_BIG5", 950, 0, 146}, {"WCP1250", 1250, 11, 11}, {"WCP1251", 1251, 14, 14},
        {"WCP1252", 1252, 8, 16},    {"WCP1253", 1253, 12, 47}, {"WCP1255", 1255, 13, 49},
        {"WCP1256", 1256, 0, 24},    {"WCP1257", 1257, 21, 51}, {"WCP1258", 1258, 0, 52},
    };
    ASSERT_EQ(CodePages.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TCodePages& page = CodePages[i];
        EXPECT_EQ(page.DisplayName, rows[i].name) << "row " << i;
        EXPECT_EQ(page.CodePageName, rows[i].conversion) << "row " << i;
        EXPECT_EQ(page.CodePageNoOld, rows[i].oldNumber) << "row " << i;
        EXPECT_EQ(page.CodePageNoNew, rows[i].number) << "row " << i;
    }
}

TEST(Vocabulary, EveryCharacterSetNamesAnExistingCodePage) {
    for (const TInterChars& set : InterChars) {
        EXPECT_NE(IndexOfCodePage(CodePages, 26, set.SetCodePageNo), -1) << set.DisplayNameEn;
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
