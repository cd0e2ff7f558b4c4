#include "settings/SettingsText.h"

#include <gtest/gtest.h>
#include <string>

namespace tavisto {
namespace {

TDisplayInfo sampleRecord() {
    TDisplayInfo info;
    info.temp1 = 0;
    info.Baud_Rate = 4;
    info.temp2 = 0xF5;
    info.Char_No = 8;
    info.Expand_Char_No = 146;
    info.Comm_No = 255;
    info.wel_mess1 = "\x82\xA0 AB";      // CP932 bytes travel unchanged
    info.wel_mess2 = "say \"hi\"\\\x01"; // quote, backslash and a control byte
    info.font_Foreground_color_565 = 2047;
    info.font_Background_color_565 = 0x12345678; // a whole 32-bit value is kept
    info.back_light = 3;
    info.pic_reg = 0x03FF;
    info.line_mode = 2;
    info.bm_back_rgb_565 = 65535;
    info.bm_font_rgb_565 = 31;
    info.tp_back_rgb_565 = 0xF800;
    info.tp_font_rgb_565 = 0x07E0;
    info.tp_mode = 9;
    info.main_str = std::string(80, 'x');
    info.into_lun_bo = 120;
    info.lun_time = 10;
    return info;
}

TEST(SettingsTextWriter, WritesTheTwentyOneMembersInOrderIndentedByFour) {
    TDisplayInfo info = sampleRecord();
    info.wel_mess1 = "A\xE9";
    info.wel_mess2 = "B";
    info.main_str = "C";
    // Fields that are never written must not show up.
    info.back_light_set = 9;
    info.pic_reg_lo = 7;
    info.font_Foreground_color_888 = 0xABCDEF;

    const std::string expected = "{\n"
                                 "    \"temp1\": 0,\n"
                                 "    \"Baud_Rate\": 4,\n"
                                 "    \"temp2\": 245,\n"
                                 "    \"Char_No\": 8,\n"
                                 "    \"Expand_Char_No\": 146,\n"
                                 "    \"Comm_No\": 255,\n"
                                 "    \"wel_mess1\": \"A\xC3\xA9\",\n"
                                 "    \"wel_mess2\": \"B\",\n"
                                 "    \"font_Foreground_color\": 2047,\n"
                                 "    \"font_Background_color\": 305419896,\n"
                                 "    \"back_light\": 3,\n"
                                 "    \"pic_reg\": 1023,\n"
                                 "    \"line_mode\": 2,\n"
                                 "    \"bm_back_rgb\": 65535,\n"
                                 "    \"bm_font_rgb\": 31,\n"
                                 "    \"tp_back_rgb\": 63488,\n"
                                 "    \"tp_font_rgb\": 2016,\n"
                                 "    \"tp_mode\": 9,\n"
                                 "    \"main_str\": \"C\",\n"
                                 "    \"into_lun_bo\": 120,\n"
                                 "    \"lun_time\": 10\n"
                                 "}";
    EXPECT_EQ(WriteSettingsText(info), expected);
}

TEST(SettingsTextRoundTrip, EveryWrittenFieldComesBackUnchanged) {
    const TDisplayInfo written = sampleRecord();
    TDisplayInfo read; // all zero
    std::string message;
    ASSERT_TRUE(ReadSettingsText(WriteSettingsText(written), read, message)) << message;

    EXPECT_EQ(read.temp1, written.temp1);
    EXPECT_EQ(read.Baud_Rate, written.Baud_Rate);
    EXPECT_EQ(read.temp2, written.temp2);
    EXPECT_EQ(read.Char_No, written.Char_No);
    EXPECT_EQ(read.Expand_Char_No, written.Expand_Char_No);
    EXPECT_EQ(read.Comm_No, written.Comm_No);
    EXPECT_EQ(read.wel_mess1, written.wel_mess1);
    EXPECT_EQ(read.wel_mess2, written.wel_mess2);
    EXPECT_EQ(read.font_Foreground_color_565, written.font_Foreground_color_565);
    EXPECT_EQ(read.font_Background_color_565, written.font_Background_color_565);
    EXPECT_EQ(read.back_light, written.back_light);
    EXPECT_EQ(read.pic_reg, written.pic_reg);
    EXPECT_EQ(read.line_mode, written.line_mode);
    EXPECT_EQ(read.bm_back_rgb_565, written.bm_back_rgb_565);
    EXPECT_EQ(read.bm_font_rgb_565, written.bm_font_rgb_565);
    EXPECT_EQ(read.tp_back_rgb_565, written.tp_back_rgb_565);
    EXPECT_EQ(read.tp_font_rgb_565, written.tp_font_rgb_565);
    EXPECT_EQ(read.tp_mode, written.tp_mode);
    EXPECT_EQ(read.main_str, written.main_str);
    EXPECT_EQ(read.into_lun_bo, written.into_lun_bo);
    EXPECT_EQ(read.lun_time, written.lun_time);
    // Not carried by the text: rebuilt by whoever shows the record.
    EXPECT_EQ(read.back_light_set, 0);
    EXPECT_EQ(read.font_Foreground_color_888, 0u);
}

TEST(SettingsTextReader, AcceptsAnyOrderWhitespaceAndTheDisplaysClosingNul) {
    TDisplayInfo info;
    info.lun_time = 7; // absent from the text: stays
    std::string message;
    const std::string reply =
        std::string(" \r\n\t{ \"tp_mode\" :\n 10 , \"Baud_Rate\":3}\n") + std::string(1, '\0');
    ASSERT_TRUE(ReadSettingsText(reply, info, message)) << message;
    EXPECT_EQ(info.tp_mode, 10);
    EXPECT_EQ(info.Baud_Rate, 3);
    EXPECT_EQ(info.lun_time, 7);
}

TEST(SettingsTextReader, NamesAreTrimmedCaseSensitiveAndTheLastOneWins) {
    TDisplayInfo info;
    std::string message;
    ASSERT_TRUE(ReadSettingsText(R"({"temp1":1, " temp1 ":2, "TEMP1":3, "Comm_No":4,
                                     "Comm_No":5, "unknown":{"deep":[1,2]}, "lun_time ":6})",
                                 info, message))
        << message;
    EXPECT_EQ(info.temp1, 2); // " temp1 " is temp1 and comes later; "TEMP1" is unknown
    EXPECT_EQ(info.Comm_No, 5);
    EXPECT_EQ(info.lun_time, 6);
}

TEST(SettingsTextReader, KeepsIntegersAtTheFieldWidth) {
    TDisplayInfo info;
    std::string message;
    ASSERT_TRUE(ReadSettingsText(R"({"Baud_Rate":257, "Char_No":-1, "pic_reg":70000,
                                     "bm_back_rgb":8589934591, "tp_mode":10.0, "line_mode":2e0,
                                     "tp_back_rgb":-1})",
                                 info, message))
        << message;
    EXPECT_EQ(info.Baud_Rate, 1);
    EXPECT_EQ(info.Char_No, 255);
    EXPECT_EQ(info.pic_reg, 70000 & 0xFFFF);
    EXPECT_EQ(info.bm_back_rgb_565, 0xFFFFFFFFu);
    EXPECT_EQ(info.tp_mode, 10);
    EXPECT_EQ(info.line_mode, 2);
    EXPECT_EQ(info.tp_back_rgb_565, 0xFFFFFFFFu);
}

TEST(SettingsTextReader, StringsTakeTheirCharactersAsHostBytes) {
    TDisplayInfo info;
    std::string message;
    ASSERT_TRUE(
        ReadSettingsText("{\"wel_mess1\":\"\\u00e9\xC3\xA9\\u0041\\u4e2d\"}", info, message));
    // U+00E9 twice (escaped and raw) is byte E9; a character past U+00FF becomes "?".
    EXPECT_EQ(info.wel_mess1, "\xE9\xE9"
                              "A?");
}

TEST(SettingsTextReader, BadTextFailsWithItsMessageAndChangesNothing) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "Get Settings Error!"},
        {" \n\t", "Parsing failed!"},
        {"{\"temp1\":1", "Parsing failed!"},
        {"{\"temp1\":1} trailing", "Parsing failed!"},
        {"{'temp1':1}", "Parsing failed!"},
        {"[{\"temp1\":1}]", "Invalid settings: the text is not a JSON object!"},
        {"42", "Invalid settings: the text is not a JSON object!"},
        // The first members are good; the record must still not change.
        {R"({"temp1":1, "lun_time":9, "Baud_Rate":"3"})",
         "Invalid settings: member \"Baud_Rate\" is not an integer!"},
        {R"({"temp1":1, " back_light ":2.5})",
         "Invalid settings: member \"back_light\" is not an integer!"},
        {R"({"pic_reg":null})", "Invalid settings: member \"pic_reg\" is not an integer!"},
        {R"({"tp_mode":true})", "Invalid settings: member \"tp_mode\" is not an integer!"},
        {R"({"temp1":1e300})", "Invalid settings: member \"temp1\" is not an integer!"},
        {R"({"main_str":12})", "Invalid settings: member \"main_str\" is not a string!"},
        {R"({"wel_mess1":["a"]})", "Invalid settings: member \"wel_mess1\" is not a string!"},
    };
    for (const Case& c : cases) {
        TDisplayInfo info = sampleRecord();
        std::string message;
        EXPECT_FALSE(ReadSettingsText(c.text, info, message)) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
        EXPECT_EQ(WriteSettingsText(info), WriteSettingsText(sampleRecord())) << c.text;
    }
}

TEST(SettingsTextReader, DeeplyNestedInputNeitherCrashesNorCounts) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    TDisplayInfo info;
    std::string message;
    EXPECT_FALSE(ReadSettingsText(deep, info, message));
    EXPECT_EQ(message, "Invalid settings: the text is not a JSON object!");

    ASSERT_TRUE(ReadSettingsText("{\"other\":" + deep + ",\"lun_time\":3}", info, message));
    EXPECT_EQ(info.lun_time, 3);
}

} // namespace
} // namespace tavisto
