// The Font Download queue (every font row and the Big5/GBK table, from the program's
// resources) on the simulated display and the virtual clock: which rows each kind of
// model takes, where each image goes, and what the log says. The same workflow
// through the serial layer, on a few rows, is in StorageSimTest.
#include "protocol/DownloadTable.h"
#include "tests/app/ModelRows.h"
#include "tests/app/transfer/EngineFixture.h"

#include <string>

namespace tavisto::testing {
namespace {

// Small stand-in images that name themselves, so what the display stored shows
// which resource it came from.
class FontDownloadTest : public EngineTest {
protected:
    explicit FontDownloadTest(int model) : EngineTest(model) {}

    void provide(const std::string& name) {
        Bytes bytes = name + ":";
        while (bytes.size() < 40)
            bytes += name;
        resources[name] = bytes;
    }

    void provideFonts(const std::string& suffix) {
        for (const char* base :
             {"CP437",    "CP437_40X40", "CP737",     "CP737_S", "CP737_S1", "CP850",   "CP852",
              "CP857",    "CP858",       "CP860",     "CP863",   "CP864",    "CP865",   "CP866",
              "CP866_AT", "CP874",       "CP936_GBK", "WCP1250", "WCP1251",  "WCP1252", "WCP1253",
              "WCP1255",  "WCP1256",     "WCP1257",   "WCP1258", "KATAKANA", "USA",     "FRANCE",
              "GERMANY",  "UK",          "DENMARK_I", "SWEDEN",  "ITALY",    "SPAIN",   "JAPAN",
              "NORWAY",   "DENMARK_II",  "SLAVONIC",  "RUSSIA"}) {
            provide(std::string(base) + suffix);
            provide("MINI_" + std::string(base) + suffix);
        }
        provide("BIG52GBK");
    }

    // The queue Font Download builds: every font row, then the table.
    void runFontDownload(int model) {
        std::vector<int> rows;
        for (int row = 1; row <= kLastFontPosition; ++row)
            rows.push_back(row);
        rows.push_back(kTablePosition);
        run(model, rows, 1h);
    }
};

class AddressedFontDownloadTest : public FontDownloadTest {
protected:
    AddressedFontDownloadTest() : FontDownloadTest(kMka) {}
};

TEST_F(AddressedFontDownloadTest, StoresTheSupportedImagesOfItsResolution) {
    provideFonts("_480X272");
    provideFonts("_800X480");
    runFontDownload(kMka);
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 74 / Failed 0]", 64}));

    EXPECT_EQ(stored().flash.size(), 74u);
    EXPECT_EQ(stored().flash[0x00000000], resources["CP437_480X272"]);
    EXPECT_EQ(stored().flash[0x00032000], resources["CP850_480X272"]);
    EXPECT_EQ(stored().flash[0x00019000], resources["KATAKANA_480X272"]);
    EXPECT_EQ(stored().flash[0x002A3000], resources["MINI_CP437_480X272"]);
    EXPECT_EQ(stored().flash[0x004E1000], resources["RUSSIA_480X272"]);
    EXPECT_EQ(stored().flash[0x003F1000], resources["MINI_RUSSIA_480X272"]);
    EXPECT_TRUE(stored().files.empty());

    // Table order, the three rows this model does not take logged in their place.
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 77u); // 74 fonts stored, 3 rows not supported
    EXPECT_EQ(lines[0], "log CP437 [Succeed]");
    EXPECT_EQ(lines[1], "log! CP437_40x40 [Failed]:not suport");
    EXPECT_EQ(lines[2], "log CP737 [Succeed]");
    EXPECT_EQ(lines[16], "log! CP936_GBK [Failed]:not suport");
    EXPECT_EQ(lines[17], "log WCP1250 [Succeed]");
    EXPECT_EQ(lines[75], "log mini_RUSSIA [Succeed]");
    EXPECT_EQ(lines[76], "log! big52gbk [Failed]:not suport");
}

class NamedFontDownloadTest : public FontDownloadTest {
protected:
    NamedFontDownloadTest() : FontDownloadTest(kMk) {}
};

TEST_F(NamedFontDownloadTest, StoresAllSeventySevenUnderTheirFileNames) {
    provideFonts("_480X272");
    provideFonts("_800X480");
    runFontDownload(kMk);
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 77 / Failed 0]", 64}));

    auto files = stored().files;
    EXPECT_EQ(files.size(), 77u);
    EXPECT_EQ(files["437_80x40.bin"], resources["CP437_800X480"]);
    EXPECT_EQ(files["437_40x40.bin"], resources["CP437_40X40_800X480"]);
    EXPECT_EQ(files["936_gbk_40x40.bin"], resources["CP936_GBK_800X480"]);
    EXPECT_EQ(files["737-S1_28597_80x40.bin"], resources["CP737_S1_800X480"]);
    EXPECT_EQ(files["Katakana_48x24.bin"], resources["MINI_KATAKANA_800X480"]);
    EXPECT_EQ(files["40x80_fxChar_U_S_A.bin"], resources["USA_800X480"]);
    EXPECT_EQ(files["24x48_fxChar_RUSSIA.bin"], resources["MINI_RUSSIA_800X480"]);
    EXPECT_EQ(files["big52gbk.bin"], resources["BIG52GBK"]);
    EXPECT_TRUE(stored().flash.empty());

    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 76u); // the table gets no log line
    EXPECT_EQ(lines[0], "log CP437 [Succeed]");
    EXPECT_EQ(lines[1], "log CP437_40x40 [Succeed]");
    EXPECT_EQ(lines[16], "log CP936_GBK [Succeed]");
    EXPECT_EQ(lines[75], "log mini_RUSSIA [Succeed]");
}

} // namespace
} // namespace tavisto::testing
