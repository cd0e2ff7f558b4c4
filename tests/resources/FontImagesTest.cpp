// The font images and the conversion table the program carries: every name at its
// size, glyphs that would show a wrong bit order, row order or code-page mapping,
// and glyphs drawn too small, off-centre, blank or not joining their neighbours.
#include "app/storage/ItemSize.h"
#include "protocol/DownloadTable.h"
#include "resources/EmbeddedResources.h"
#include "settings/CodePage.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
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
    // The inked rows of one column.
    std::vector<int> inkedRowsAt(int x) const {
        std::vector<int> rows;
        for (int y = 0; y < height_; ++y)
            if (ink(x, y))
                rows.push_back(y);
        return rows;
    }
    // The first and last inked column over all rows (-1, -1 when blank).
    std::pair<int, int> inkedColumns() const {
        std::pair<int, int> span{-1, -1};
        for (int y = 0; y < height_; ++y) {
            const auto found = runs(y);
            if (found.empty())
                continue;
            if (span.first < 0 || found.front().first < span.first)
                span.first = found.front().first;
            span.second = std::max(span.second, found.back().second);
        }
        return span;
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

// The cell sizes of the code-page images, and the image of each.
const std::vector<std::tuple<std::string, int, int>> kCp437Sizes{{"CP437_480X272", 24, 48},
                                                                 {"CP437_800X480", 40, 80},
                                                                 {"MINI_CP437_480X272", 16, 32},
                                                                 {"MINI_CP437_800X480", 24, 48},
                                                                 {"CP437_40X40_800X480", 40, 40}};

Cell gbkCell(int code) {
    return Cell("CP936_GBK_800X480", 40, 40,
                static_cast<std::size_t>(((code >> 8) - 0x81) * 191 + ((code & 0xFF) - 0x40)));
}

TEST(FontImages, GlyphsAreDrawnAtTheFullSizeOfTheCell) {
    for (const auto& [image, w, h] : kCp437Sizes) {
        SCOPED_TRACE(image);
        // █ fills the cell; ║ runs from the top row to the bottom one.
        const Cell block(image, w, h, 0xDB);
        ASSERT_TRUE(block.loaded());
        EXPECT_EQ(block.inkedRows().front(), 0);
        EXPECT_EQ(block.inkedRows().back(), h - 1);
        EXPECT_EQ(block.inkedColumns(), std::make_pair(0, w - 1));
        const Cell doubleLine(image, w, h, 0xBA);
        EXPECT_EQ(doubleLine.inkedRows().front(), 0);
        EXPECT_EQ(doubleLine.inkedRows().back(), h - 1);
    }
    // Capitals without accents or descenders stand as tall as 'H' (round ones may
    // overshoot it by a pixel): none is drawn smaller than its neighbours.
    // (0x8A and 0x8C of 1251 are Љ and Њ, which DejaVu Sans Mono draws as wide as the cell.)
    const std::vector<std::pair<std::string, std::vector<int>>> capitals{
        {"WCP1251",
         {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC8, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0,
          0xD1, 0xD2, 0xD4, 0xD5, 0xD7, 0xD8, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0x8A, 0x8C}},
        {"WCP1253", {0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC,
                     0xCD, 0xCE, 0xCF, 0xD0, 0xD1, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8}},
        {"CP866", {0x80, 0x86, 0x94, 0x98, 0x9B, 0x9E, 0x9F}},
    };
    for (const auto& [base, codes] : capitals) {
        for (const auto& [image, w] :
             {std::pair{base + "_480X272", 24}, std::pair{base + "_800X480", 40},
              std::pair{"MINI_" + base + "_480X272", 16},
              std::pair{"MINI_" + base + "_800X480", 24}}) {
            const Cell letterH(image, w, 2 * w, 'H');
            ASSERT_FALSE(letterH.blank()) << image;
            const auto hRows = letterH.inkedRows();
            for (int code : codes) {
                const auto rows = Cell(image, w, 2 * w, static_cast<std::size_t>(code)).inkedRows();
                ASSERT_FALSE(rows.empty()) << image << " " << code;
                // Never inside H's rows, at most a pixel outside them.
                EXPECT_LE(rows.front(), hRows.front()) << image << " " << code;
                EXPECT_GE(rows.front(), hRows.front() - 1) << image << " " << code;
                EXPECT_GE(rows.back(), hRows.back()) << image << " " << code;
                EXPECT_LE(rows.back(), hRows.back() + 1) << image << " " << code;
            }
        }
    }
}

// Box-drawing characters of neighbouring cells must join into unbroken frames.
TEST(FontImages, BoxDrawingLinesJoinAcrossCells) {
    for (const auto& [image, w, h] : kCp437Sizes) {
        SCOPED_TRACE(image);
        auto cell = [&](int code) {
            return Cell(image, w, h, static_cast<std::size_t>(code));
        };
        // ─ touches both side edges at the same rows, │ the top and bottom edges at
        // the same columns.
        const auto left = cell(0xC4).inkedRowsAt(0);
        ASSERT_FALSE(left.empty());
        EXPECT_EQ(cell(0xC4).inkedRowsAt(w - 1), left);
        const auto top = cell(0xB3).runs(0);
        ASSERT_EQ(top.size(), 1u);
        EXPECT_EQ(cell(0xB3).runs(h - 1), top);
        // Where they reach an edge, ┤ ┘ ┼ ┴ ┬ put their vertical stroke in the
        // columns of │, and ┤ ┼ ┘ ├ their horizontal one in the rows of ─.
        for (int code : {0xB4, 0xD9, 0xC5, 0xC1})
            EXPECT_EQ(cell(code).runs(0), top) << code;
        for (int code : {0xB4, 0xC5, 0xC2})
            EXPECT_EQ(cell(code).runs(h - 1), top) << code;
        for (int code : {0xB4, 0xC5, 0xD9})
            EXPECT_EQ(cell(code).inkedRowsAt(0), left) << code;
        EXPECT_EQ(cell(0xC3).inkedRowsAt(w - 1), left);
        // Double lines: ║ ╣ ╬ and ═ ╬ ╠ share theirs.
        const auto doubleTop = cell(0xBA).runs(0);
        ASSERT_EQ(doubleTop.size(), 2u);
        EXPECT_EQ(cell(0xB9).runs(0), doubleTop);
        EXPECT_EQ(cell(0xCE).runs(h - 1), doubleTop);
        const auto doubleLeft = cell(0xCD).inkedRowsAt(0);
        ASSERT_FALSE(doubleLeft.empty());
        EXPECT_EQ(cell(0xCE).inkedRowsAt(0), doubleLeft);
        EXPECT_EQ(cell(0xCC).inkedRowsAt(w - 1), doubleLeft);
    }
    // The GBK font's ─ (A9A4) and │ (A9A6) as well.
    const Cell horizontal = gbkCell(0xA9A4);
    EXPECT_FALSE(horizontal.inkedRowsAt(0).empty());
    EXPECT_EQ(horizontal.inkedRowsAt(39), horizontal.inkedRowsAt(0));
    const Cell vertical = gbkCell(0xA9A6);
    EXPECT_FALSE(vertical.runs(0).empty());
    EXPECT_EQ(vertical.runs(39), vertical.runs(0));
}

TEST(FontImages, GbkGlyphsAreCentredInTheCell) {
    // 啊 中 国 一 的 是 人 口 田
    for (int code : {0xB0A1, 0xD6D0, 0xB9FA, 0xD2BB, 0xB5C4, 0xCAC7, 0xC8CB, 0xBFDA, 0xCCEF}) {
        const auto [first, last] = gbkCell(code).inkedColumns();
        ASSERT_GE(first, 0) << std::hex << code;
        EXPECT_LE(std::abs(first - (39 - last)), 2) << std::hex << code;
    }
}

// The printable character (not a space, control or format character) `bytes` stand
// for in the code page, or 0.
UChar32 printable(const std::string& bytes, int codePage) {
    const std::string text = CodePageToText(bytes, codePage);
    std::int32_t at = 0;
    UChar32 cp = 0;
    U8_NEXT(text.data(), at, static_cast<std::int32_t>(text.size()), cp);
    if (cp < 0 || at != static_cast<std::int32_t>(text.size()) || cp == 0xFFFD || !u_isgraph(cp) ||
        (cp >= 0xE000 && cp <= 0xF8FF))
        return 0;
    return cp;
}

TEST(FontImages, EveryPrintableCharacterLeavesInk) {
    // Code pages of each script the fonts must cover, at every cell size.
    const std::vector<std::pair<std::string, int>> pages{
        {"CP437", 437},    {"CP864", 864},    {"CP874", 874},    {"WCP1251", 1251},
        {"WCP1253", 1253}, {"WCP1255", 1255}, {"WCP1256", 1256}, {"WCP1258", 1258}};
    for (const auto& [base, codePage] : pages) {
        for (const auto& [image, w, h] :
             {std::tuple{base + "_480X272", 24, 48}, std::tuple{base + "_800X480", 40, 80},
              std::tuple{"MINI_" + base + "_480X272", 16, 32},
              std::tuple{"MINI_" + base + "_800X480", 24, 48}}) {
            for (int byte = 0x20; byte < 0x100; ++byte) {
                const UChar32 cp = printable(std::string(1, static_cast<char>(byte)), codePage);
                if (cp == 0)
                    continue;
                EXPECT_FALSE(Cell(image, w, h, static_cast<std::size_t>(byte)).blank())
                    << image << " byte " << std::hex << byte << " U+" << cp;
            }
        }
    }
    int blank = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const UChar32 cp = printable({static_cast<char>(lead), static_cast<char>(trail)}, 936);
            if (cp != 0 && gbkCell(lead << 8 | trail).blank()) {
                ++blank;
                ADD_FAILURE() << "GBK " << std::hex << (lead << 8 | trail) << " U+" << cp;
            }
            if (blank > 20)
                return;
        }
    }
}

// The single download asks about a file whose size is not the item's; the program's
// own images are of the sizes it expects, on either resolution.
TEST(FontImages, AreOfTheSizeTheSingleDownloadExpects) {
    int checked = 0;
    for (const DisplayModel* model : {FindModel(0), FindModel(5)}) {
        for (int position = 1; position <= kTablePosition; ++position) {
            if (position > kLastFontPosition && position != kTablePosition)
                continue;
            const std::string name = position == kTablePosition
                                         ? std::string("BIG52GBK")
                                         : std::string(DownFileAt(position).Name) + "_" +
                                               std::string(model->resolutionSuffix());
            const auto expected = ExpectedItemSize(position, *model);
            if (!FindEmbeddedResource(name)) {
                EXPECT_EQ(expected, std::nullopt) << name;
                continue;
            }
            ++checked;
            EXPECT_EQ(expected, std::optional<std::uint32_t>(sizeOf(name))) << name;
        }
    }
    EXPECT_EQ(checked, 2 * 74 + 2 + 2); // CP437_40x40 and CP936_GBK at 800x480 only
    EXPECT_EQ(ExpectedItemSize(kFirmwarePosition, *FindModel(2)), 266752u);
    EXPECT_EQ(ExpectedItemSize(kFirmwarePosition, *FindModel(6)), std::nullopt);
}

} // namespace
} // namespace tavisto
