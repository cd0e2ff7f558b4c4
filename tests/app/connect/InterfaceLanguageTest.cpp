#include "app/connect/InterfaceLanguage.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tavisto {
namespace {

TEST(Captions, TableOrderAndBothLanguages) {
    EXPECT_STREQ(Captions.front().Control, "grp_Settings");
    EXPECT_STREQ(Captions[5].Control, "tsBasicSet");
    EXPECT_STREQ(Captions[5].English, " Basic Setting");
    EXPECT_STREQ(Captions[5].Chinese, " 基本设置 ");
    EXPECT_STREQ(Captions[10].Chinese, "  文件下载 ");
    EXPECT_STREQ(Captions[47].Control, "btn_ResetDisplay");
    EXPECT_STREQ(Captions[47].English, "Restore Display");
    EXPECT_STREQ(Captions[74].English, "(0~120s,0: Not Play)");
    EXPECT_STREQ(Captions[74].Chinese, "(0~120秒,0:不播放)");
    EXPECT_STREQ(Captions.back().Control, "btn_update");
    EXPECT_STREQ(Captions.back().Chinese, "升级");
    std::set<std::string> controls;
    for (const TCaption& row : Captions)
        EXPECT_TRUE(controls.insert(row.Control).second) << row.Control;

    EXPECT_STREQ(CaptionText(Captions[4], 2052), "连接");
    EXPECT_STREQ(CaptionText(Captions[4], 1033), "Connect");
    EXPECT_STREQ(CaptionText(Captions[4], 1028), "Connect"); // Chinese (Taiwan) reads English
    EXPECT_STREQ(CaptionText(Captions[4], 0), "Connect");
}

} // namespace
} // namespace tavisto
