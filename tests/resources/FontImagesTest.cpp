// The font images and the conversion table the program carries: every name at its
// size, and glyphs that would show a wrong bit order, row order or code-page mapping.
#include "protocol/DownloadTable.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavisto {
namespace {

const std::vector<std::string> kCodePageBases{
    "CP437",   "CP737",   "CP737_S", "CP737_S1", "CP850",   "CP852",    "CP857",   "CP858",
    "CP860",   "CP863",   "CP864",   "CP865",    "CP866",   "CP866_AT", "CP874",   "WCP1250",
    "WCP1251", "WCP1252", "WCP1253", "WCP1255",  "WCP1256", "WCP1257",  "WCP1258", "KATAKANA"};
const std::vector<std::string> kInternationalSets{
    "USA",   "FRANCE", "GERMANY", "UK",         "DENMARK_I", "SWEDEN", "ITALY",
    "SPAIN", "JAPAN",  "NORWAY",  "DENMARK_II", "SLAVONIC",  "RUSSIA"};

std::size_t sizeOf(const std::string& name) {
    const auto bytes = FindEmbeddedResource(name);
    return bytes ? bytes->size() : 0;
}

// One glyph cell of an image: W x H pixels, rows of (W + 7) / 8 bytes, top first,
// leftmost pixel in the high bit.
class Cell {
public:
    Cell(const std::string& image, int width, int height, std::size_t index)
        : width_(width), height_(height) {
        const auto bytes = FindEmbeddedResource(image);
        const std::size_t size = static_cast<std::size_t>((width + 7) / 8 * height);
        if (bytes && (index + 1) * size <= bytes->size())
            bits_.assign(bytes->begin() + static_cast<std::ptrdiff_t>(index * size),
                         bytes->begin() + static_cast<std::ptrdiff_t>((index + 1) * size));
    }
    bool ink(int x, int y) const {
        return (bits_[static_cast<std::size_t>(y * ((width_ + 7) / 8) + x / 8)] &
                (0x80 >> (x % 8))) != 0;
    }
    bool blank() const {
        for (auto byte : bits_)
            if (byte != 0)
                return false;
        return true;
    }
    bool operator==(const Cell& other) const { return bits_ == other.bits_; }
    // Rows that hold ink, and the inked columns of one row as [first, last] runs.
    std::vector<int> inkedRows() const {
        std::vector<int> rows;
        for (int y = 0; y < height_; ++y)
            if (!runs(y).empty())
                rows.push_back(y);
        return rows;
    }
    std::vector<std::pair<int, int>> runs(int y) const {
        std::vector<std::pair<int, int>> found;
        for (int x = 0; x < width_; ++x) {
            if (!ink(x, y))
                continue;
            if (!found.empty() && found.back().second == x - 1)
                found.back().second = x;
            else
                found.push_back({x, x});
        }
        return found;
    }
    bool loaded() const { return !bits_.empty(); }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bits_;
};

TEST(FontImages, EveryImageIsThereAtItsSize) {
    for (const auto& base : kCodePageBases) {
        EXPECT_EQ(sizeOf(base + "_480X272"), 36864u) << base;
        EXPECT_EQ(sizeOf(base + "_800X480"), 102400u) << base;
        EXPECT_EQ(sizeOf("MINI_" + base + "_480X272"), 16384u) << base;
        EXPECT_EQ(sizeOf("MINI_" + base + "_800X480"), 36864u) << base;
    }
    for (const auto& set : kInternationalSets) {
        EXPECT_EQ(sizeOf(set + "_480X272"), 1728u) << set;
        EXPECT_EQ(sizeOf(set + "_800X480"), 4800u) << set;
        EXPECT_EQ(sizeOf("MINI_" + set + "_480X272"), 768u) << set;
        EXPECT_EQ(sizeOf("MINI_" + set + "_800X480"), 1728u) << set;
    }
    EXPECT_EQ(sizeOf("CP437_40X40_800X480"), 51200u);
    EXPECT_EQ(sizeOf("CP936_GBK_800X480"), 4813200u);
    EXPECT_EQ(sizeOf("big52gbk"), 48132u);
    // The names the engine forms from the download table, in its letter case.
    EXPECT_EQ(sizeOf("mini_Katakana_480x272"), 16384u);
    // Only the sizes that have an image: no 480x272 GBK or 40x40 font.
    EXPECT_EQ(sizeOf("CP936_GBK_480X272"), 0u);
    EXPECT_EQ(sizeOf("CP437_40X40_480X272"), 0u);
}

// The room check of a download must never refuse the program's own images.
TEST(FontImages, EveryImageFitsItsRoomOnTheAddressedModels) {
    for (int position = 1; position <= kLastFontPosition; ++position) {
        const std::string name = DownFileAt(position).Name;
        for (const char* suffix : {"_480X272", "_800X480"})
            EXPECT_EQ(AddressedRoomProblem(position, sizeOf(name + suffix)), "") << name << suffix;
    }
}

TEST(FontImages, CellsFollowTheCodeAndTheBitOrder) {
    const Cell a("CP437_800X480", 40, 80, 'A');
    const Cell b("CP437_800X480", 40, 80, 'B');
    ASSERT_TRUE(a.loaded());
    EXPECT_FALSE(a.blank());
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(Cell("CP437_800X480", 40, 80, ' ').blank());
    EXPECT_TRUE(Cell("CP437_800X480", 40, 80, 0x07).blank()); // a control code

    // 'L': the stem is the leftmost ink of the top rows, and the foot, one run of
    // ink on the lowest rows, starts at the stem and reaches right.
    for (const auto& [image, w, h] :
         {std::tuple{"CP437_800X480", 40, 80}, std::tuple{"MINI_CP437_480X272", 16, 32},
          std::tuple{"CP437_480X272", 24, 48}}) {
        SCOPED_TRACE(image);
        const Cell l(image, w, h, 'L');
        const auto rows = l.inkedRows();
        ASSERT_GT(rows.size(), 4u);
        const auto top = l.runs(rows.front());
        const auto foot = l.runs(rows.back());
        ASSERT_EQ(top.size(), 1u);
        ASSERT_EQ(foot.size(), 1u);
        EXPECT_EQ(foot[0].first, top[0].first);
        EXPECT_GT(foot[0].second - foot[0].first, 2 * (top[0].second - top[0].first));
    }
    // '_' sits low and '^' high in the cell.
    EXPECT_GT(Cell("WCP1252_800X480", 40, 80, '_').inkedRows().front(), 50);
    EXPECT_LT(Cell("WCP1252_800X480", 40, 80, '^').inkedRows().back(), 40);
}

TEST(FontImages, EachCodePageDrawsItsOwnCharacters) {
    // 0xC0 is А (Cyrillic) in 1251, À in 1252, and └ in 437.
    const Cell cyrillic("WCP1251_800X480", 40, 80, 0xC0);
    const Cell latin("WCP1252_800X480", 40, 80, 0xC0);
    const Cell box("CP437_800X480", 40, 80, 0xC0);
    EXPECT_FALSE(cyrillic.blank());
    EXPECT_FALSE(cyrillic == latin);
    EXPECT_FALSE(latin == box);
    // А is drawn like the Latin A of the same font; À carries an accent above it.
    EXPECT_TRUE(cyrillic == Cell("WCP1251_800X480", 40, 80, 'A'));
    EXPECT_LT(latin.inkedRows().front(), Cell("WCP1252_800X480", 40, 80, 'A').inkedRows().front());
    // 1251 has no character at 0x98.
    EXPECT_TRUE(Cell("WCP1251_800X480", 40, 80, 0x98).blank());
    // CP864 and 1256 are Arabic, 874 Thai, 1255 Hebrew above 0x80: all drawn.
    EXPECT_FALSE(Cell("CP864_800X480", 40, 80, 0xC8).blank());
    EXPECT_FALSE(Cell("WCP1256_800X480", 40, 80, 0xC7).blank());
    EXPECT_FALSE(Cell("CP874_800X480", 40, 80, 0xA1).blank());
    EXPECT_FALSE(Cell("WCP1255_800X480", 40, 80, 0xE0).blank());
    // Half-width katakana at 0xA1..0xDF, nothing at 0xA0 or 0xE0.
    EXPECT_FALSE(Cell("KATAKANA_800X480", 40, 80, 0xB1).blank());
    EXPECT_FALSE(Cell("KATAKANA_800X480", 40, 80, 0xB1) == Cell("KATAKANA_800X480", 40, 80, 0xB2));
    EXPECT_TRUE(Cell("KATAKANA_800X480", 40, 80, 0xA0).blank());
    EXPECT_TRUE(Cell("KATAKANA_800X480", 40, 80, 0xE0).blank());
}

TEST(FontImages, InternationalSetsHoldTheirTwelveReplacements) {
    // Cell 3 is what the set puts at 0x5B: [ in the USA set, Ä in Germany's.
    const Cell usa("USA_800X480", 40, 80, 3);
    EXPECT_TRUE(usa == Cell("CP437_800X480", 40, 80, '['));
    EXPECT_TRUE(Cell("GERMANY_800X480", 40, 80, 3) == Cell("CP437_800X480", 40, 80, 0x8E));  // Ä
    EXPECT_TRUE(Cell("UK_800X480", 40, 80, 0) == Cell("CP437_800X480", 40, 80, 0x9C));       // £
    EXPECT_TRUE(Cell("JAPAN_800X480", 40, 80, 4) == Cell("CP437_800X480", 40, 80, 0x9D));    // ¥
    EXPECT_TRUE(Cell("RUSSIA_800X480", 40, 80, 7) == Cell("WCP1251_800X480", 40, 80, 0xDE)); // Ю
}

TEST(FontImages, TheGbkGridRunsLeadByTrail) {
    // Cell (lead - 0x81) * 191 + (trail - 0x40).
    auto gbk = [](int lead, int trail) {
        return Cell("CP936_GBK_800X480", 40, 40,
                    static_cast<std::size_t>((lead - 0x81) * 191 + (trail - 0x40)));
    };
    // D2BB is 一: ink on a few adjacent rows, one run each, across most of the cell.
    const Cell one = gbk(0xD2, 0xBB);
    const auto rows = one.inkedRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.size(), 6u);
    EXPECT_EQ(rows.back() - rows.front() + 1, static_cast<int>(rows.size()));
    const auto run = one.runs(rows.front());
    ASSERT_EQ(run.size(), 1u);
    EXPECT_GT(run[0].second - run[0].first, 25);
    EXPECT_FALSE(gbk(0xB0, 0xA1).blank()); // 啊
    EXPECT_FALSE(gbk(0xB0, 0xA1) == gbk(0xB0, 0xA2));
    EXPECT_TRUE(gbk(0xB0, 0x7F).blank()); // no trail byte 7F in GBK
    EXPECT_TRUE(gbk(0xFE, 0xFE).blank()); // user-defined
}

TEST(FontImages, TheConversionTableGivesTheGbkCodeOfEachBig5Code) {
    const auto table = FindEmbeddedResource("BIG52GBK");
    ASSERT_TRUE(table);
    auto entry = [&](int lead, int trail) {
        const std::size_t at = static_cast<std::size_t>(((lead - 0x81) * 191 + (trail - 0x40)) * 2);
        return ((*table)[at] << 8) | (*table)[at + 1];
    };
    EXPECT_EQ(entry(0xA4, 0x40), 0xD2BB); // 一
    EXPECT_EQ(entry(0xA4, 0xA4), 0xD6D0); // 中
    EXPECT_EQ(entry(0xA1, 0x40), 0xA1A1); // ideographic space
    EXPECT_EQ(entry(0xA4, 0x7F), 0x0000); // no Big5 character
    EXPECT_EQ(entry(0x81, 0x40), 0x0000); // user-defined in Big5
}

} // namespace
} // namespace tavisto
