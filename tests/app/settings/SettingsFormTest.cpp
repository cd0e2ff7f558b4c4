#include "app/settings/SettingsForm.h"

#include "settings/DefaultSettings.h"

#include <gtest/gtest.h>
#include <string>

namespace tavisto {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

class SettingsFormTest : public ::testing::Test {
protected:
    // What the window shows after start-up: the built-in defaults.
    SettingsFormTest() { apply(DefaultSettingsText()); }

    void apply(const std::string& text) {
        std::string message;
        ASSERT_TRUE(ApplySettingsText(text, form, info, message)) << message;
        EXPECT_EQ(message, "OK");
    }

    TSettingsForm form;
    TDisplayInfo info;
};

TEST_F(SettingsFormTest, TheDefaultsShowAsBuiltIn) {
    EXPECT_EQ(form.cbb_down_BaudRate, 0);
    EXPECT_TRUE(form.chk_Scroll1);
    EXPECT_TRUE(form.chk_Scroll2);
    EXPECT_EQ(form.rg_Down_InterChar, 0);
    EXPECT_EQ(form.rg_Down_CodePage, 0);
    EXPECT_EQ(form.cbb_CodePage, 0);
    EXPECT_EQ(form.cbb_codepage_test, 0);
    EXPECT_EQ(form.cbb_codepage_maintext, 0);
    EXPECT_EQ(form.cbb_down_CommandMode, 14); // "AUTO"
    EXPECT_EQ(form.edt_line1, "*** TFT DISPLAY *** ");
    EXPECT_EQ(form.lbl_mess1_count, 20);
    EXPECT_EQ(form.edt_line2, "**HAVE A NICE DAY AND THANK YOU**");
    EXPECT_EQ(form.lbl_mess2_count, 33);
    EXPECT_EQ(form.pnlColorTextText, 0xF8FC00u);
    EXPECT_EQ(form.pnlColorBgText, 0u);
    EXPECT_EQ(form.pnlColorBgFooter, 0xF8FCF8u);
    EXPECT_EQ(form.pnlColorTextFooter, 0xF80000u);
    EXPECT_EQ(form.pnlColorBgHeader, 0xF80000u);
    EXPECT_EQ(form.pnlColorTextHeader, 0xF8FCF8u);
    EXPECT_EQ(info.tp_font_rgb_888, 0xF8FCF8u);
    EXPECT_EQ(form.rg_brightness, 1); // "40%"
    EXPECT_EQ(info.back_light_set, 2);
    EXPECT_EQ(form.lbl_selected_nums, 0);
    EXPECT_TRUE(form.rbtnTextLine2);
    EXPECT_FALSE(form.rbtnTextLine4);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{true, true, false, false}));
    EXPECT_TRUE(form.rbtnHeaderText);
    EXPECT_FALSE(form.rbtnHeaderPicture);
    EXPECT_EQ(form.edtMianText,
              (std::array<std::string, 4>{"*** TFT DISPLAY  ***", "  HAVE A NICE DAY!  ",
                                          "*** TFT DISPLAY  ***", "  HAVE A NICE DAY!  "}));
    EXPECT_EQ(form.ud_StandbyTime, 0);
    EXPECT_EQ(form.ud_PlayInterval, 1);
}

TEST_F(SettingsFormTest, CollectingPadsTheTextsAndWritesThemBack) {
    form.edt_line1 = "AB";
    form.edt_line2 = std::string(25, 'x');
    form.edtMianText = {"one", "", "three", "four"}; // the last two are hidden
    CollectSettings(form, info);

    EXPECT_EQ(info.wel_mess1, "AB" + std::string(18, ' '));
    EXPECT_EQ(form.edt_line1, "AB" + std::string(18, ' '));
    EXPECT_EQ(form.lbl_mess1_count, 20);
    EXPECT_EQ(info.wel_mess2, std::string(25, 'x') + std::string(35, ' '));
    EXPECT_EQ(form.edt_line2, info.wel_mess2);
    EXPECT_EQ(form.edtMianText[2], "three" + std::string(15, ' '));
    EXPECT_EQ(info.main_str, "one" + std::string(17, ' ') + std::string(20, ' ') + "three" +
                                 std::string(15, ' ') + "four" + std::string(16, ' '));

    form.edt_line1 = std::string(25, 'y'); // longer than the field: never cut
    CollectSettings(form, info);
    EXPECT_EQ(info.wel_mess1, std::string(25, 'y'));
}

TEST_F(SettingsFormTest, PaddingCountsCharactersAndEachTextUsesItsOwnCodePage) {
    form.cbb_CodePage = 4;           // CP850: e-acute is 82
    form.cbb_codepage_maintext = 21; // WCP1252: e-acute is E9
    form.edt_line1 = "\xC3\xA9\xC3\xA9";
    form.edtMianText = {"\xC3\xA9", "", "", ""};
    CollectSettings(form, info);

    EXPECT_EQ(form.edt_line1, "\xC3\xA9\xC3\xA9" + std::string(18, ' '));
    EXPECT_EQ(form.lbl_mess1_count, 20);
    EXPECT_EQ(info.wel_mess1, "\x82\x82" + std::string(18, ' '));
    EXPECT_EQ(info.main_str, "\xE9" + std::string(79, ' '));
}

TEST_F(SettingsFormTest, CollectingFillsTheRecordFromEveryControl) {
    form.cbb_down_BaudRate = 3;
    form.rg_Down_InterChar = 12;
    form.rg_Down_CodePage = 20;
    form.cbb_down_CommandMode = 2;
    form.chk_Scroll1 = false;
    form.chk_Scroll2 = true;
    info.temp2 = 0xF8; // bits 4-7 are kept, bit 3 is cleared
    info.temp1 = 9;
    form.pnlColorTextText = 0x123456;
    form.pnlColorBgHeader = 0xFFFFFF;
    form.rbtnHeaderText = false;
    form.rbtnHeaderPicture = true;
    form.rbtnTextLine2 = false;
    form.rbtnTextLine4 = true;
    form.edtMianTextVisible = {true, true, false, false};
    form.CheckBox76to85 = {true, false, false, false, false, false, false, false, false, true};
    form.ud_StandbyTime = 45;
    form.ud_PlayInterval = 7;
    CollectSettings(form, info);

    EXPECT_EQ(info.temp1, 0);
    EXPECT_EQ(info.Baud_Rate, 3);
    EXPECT_EQ(info.temp2, 0xF5);
    EXPECT_EQ(info.Char_No, 12);
    EXPECT_EQ(info.Expand_Char_No, 14);
    EXPECT_EQ(info.Comm_No, 2);
    EXPECT_EQ(info.font_Foreground_color_888, 0x123456u);
    EXPECT_EQ(info.font_Foreground_color_565, 0x51A2u); // R 56, G 34, B 12
    EXPECT_EQ(info.tp_back_rgb_565, 0xFFFFu);
    EXPECT_EQ(info.tp_mode, 9);
    EXPECT_EQ(info.line_mode, 2);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_EQ(info.pic_reg, 0x0201);
    EXPECT_EQ(form.lbl_selected_nums, 2);
    EXPECT_EQ(info.into_lun_bo, 45);
    EXPECT_EQ(info.lun_time, 7);
}

TEST_F(SettingsFormTest, BrightnessRulesDifferInTheTwoDirections) {
    form.rg_brightness = 3; // "100%"
    CollectSettings(form, info);
    EXPECT_EQ(info.back_light, 3);
    EXPECT_EQ(info.back_light_set, 4);

    apply("{}");                      // shows the record as collected
    EXPECT_EQ(form.rg_brightness, 2); // "60%"
    EXPECT_EQ(info.back_light_set, 3);

    const int expectedItem[] = {2, 3, 3, 2, 2, 1, 0, 2, 2};
    for (int level = 0; level <= 8; ++level) {
        apply("{\"back_light\":" + std::to_string(level) + "}");
        EXPECT_EQ(form.rg_brightness, expectedItem[level]) << level;
        EXPECT_EQ(info.back_light_set, expectedItem[level] + 1) << level;
    }
    const int expectedLevel[] = {6, 5, 4, 3};
    for (int item = 0; item < 4; ++item) {
        form.rg_brightness = item;
        CollectSettings(form, info);
        EXPECT_EQ(info.back_light, expectedLevel[item]) << item;
    }
}

TEST_F(SettingsFormTest, PictureSelectionUsesTheTenLowBitsOnly) {
    apply(R"({"pic_reg":1023})");
    EXPECT_EQ(form.CheckBox76to85,
              (std::array<bool, 10>{true, true, true, true, true, true, true, true, true, true}));
    EXPECT_EQ(form.lbl_selected_nums, 10);
    EXPECT_EQ(info.pic_reg_lo, 0xFF);
    EXPECT_EQ(info.pic_reg_hi, 0x03);

    apply(R"({"pic_reg":1024})");
    EXPECT_EQ(form.CheckBox76to85, (std::array<bool, 10>{}));
    EXPECT_EQ(form.lbl_selected_nums, 0);
    EXPECT_EQ(info.pic_reg_hi, 0x04);

    apply(R"({"pic_reg":514})"); // 0x0202: slots 77 and 85
    EXPECT_EQ(form.CheckBox76to85, (std::array<bool, 10>{false, true, false, false, false, false,
                                                         false, false, false, true}));
    CollectSettings(form, info);
    EXPECT_EQ(info.pic_reg, 514);
}

TEST_F(SettingsFormTest, LayoutAndHeaderModeFromTheRecord) {
    apply(R"({"line_mode":3, "tp_mode":0})");
    EXPECT_TRUE(form.rbtnTextLine2);
    EXPECT_FALSE(form.rbtnTextLine4);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{true, true, false, false}));
    EXPECT_TRUE(form.rbtnHeaderText);

    apply(R"({"line_mode":2, "tp_mode":9})");
    EXPECT_TRUE(form.rbtnTextLine4);
    EXPECT_FALSE(form.rbtnTextLine2);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_TRUE(form.rbtnHeaderPicture);
    EXPECT_FALSE(form.rbtnHeaderText);
}

TEST_F(SettingsFormTest, ScrollBoxesAndColoursFromTheRecord) {
    apply(R"({"temp2":241, "tp_font_rgb":129024, "bm_back_rgb":65535})");
    EXPECT_FALSE(form.chk_Scroll1); // bit 0 set: line 1 does not scroll
    EXPECT_TRUE(form.chk_Scroll2);
    // Only the low 16 bits of a colour count: 0x1F800 shows as 0xF800, pure red.
    EXPECT_EQ(form.pnlColorTextHeader, 0x0000F8u);
    EXPECT_EQ(info.tp_font_rgb_888, 0x0000F8u);
    EXPECT_EQ(info.tp_font_rgb_565, 129024u);
    EXPECT_EQ(form.pnlColorBgFooter, 0xF8FCF8u);
}

TEST_F(SettingsFormTest, UnknownNumbersLeaveTheirListEmptyAndAreKeptWhenCollected) {
    apply(R"({"Comm_No":200, "Baud_Rate":9, "Char_No":100, "lun_time":5})");
    EXPECT_EQ(form.cbb_down_CommandMode, -1);
    EXPECT_EQ(form.cbb_down_BaudRate, -1);
    EXPECT_EQ(form.rg_Down_InterChar, -1);
    EXPECT_EQ(form.rg_Down_CodePage, 0); // unchanged, the rest applied as usual
    EXPECT_EQ(form.ud_PlayInterval, 5);

    CollectSettings(form, info);
    EXPECT_EQ(info.Comm_No, 200);
    EXPECT_EQ(info.Baud_Rate, 9);
    EXPECT_EQ(info.Char_No, 100);
}

TEST_F(SettingsFormTest, AnUnknownCodePageConvertsWithCp437BothWays) {
    apply("{\"Expand_Char_No\":7, \"wel_mess1\":\"\\u0082\\u00A0\"}");
    EXPECT_EQ(form.rg_Down_CodePage, -1);
    EXPECT_EQ(form.cbb_CodePage, -1);
    EXPECT_EQ(form.cbb_codepage_maintext, -1);
    EXPECT_EQ(form.edt_line1, "\xC3\xA9\xC3\xA1"); // CP437 82 A0
    CollectSettings(form, info);
    EXPECT_EQ(info.Expand_Char_No, 7);
    EXPECT_EQ(info.wel_mess1, "\x82\xA0" + std::string(18, ' '));
}

TEST_F(SettingsFormTest, CharacterSetPullsTheCodePagesThenTheRecordsCodePageWins) {
    // Japan goes with CP932, but the record's CP437 is selected last, and the texts
    // are shown in it.
    apply("{\"Char_No\":8, \"Expand_Char_No\":0, \"wel_mess1\":\"\\u0082\\u00A0\"}");
    EXPECT_EQ(form.rg_Down_InterChar, 8);
    EXPECT_EQ(form.rg_Down_CodePage, 0);
    EXPECT_EQ(form.cbb_CodePage, 0);
    EXPECT_EQ(form.cbb_codepage_test, 0);
    EXPECT_EQ(form.cbb_codepage_maintext, 0);
    EXPECT_EQ(form.edt_line1, "\xC3\xA9\xC3\xA1");

    apply(R"({"Char_No":13, "Expand_Char_No":1})"); // Greek with CP932
    EXPECT_EQ(form.rg_Down_InterChar, 13);
    EXPECT_EQ(form.rg_Down_CodePage, 15);
    EXPECT_EQ(form.cbb_CodePage, 15);
    EXPECT_EQ(form.cbb_codepage_test, 15);
    EXPECT_EQ(form.cbb_codepage_maintext, 15);

    // Nothing changes selection: the operator's main-text code page stays.
    form.cbb_codepage_maintext = 21;
    apply(R"({"Char_No":13, "Expand_Char_No":1})");
    EXPECT_EQ(form.cbb_codepage_maintext, 21);
}

TEST_F(SettingsFormTest, DoubleByteMainTextIsSplitEveryTwentyBytes) {
    const std::string a = "\x82\xA0"; // HIRAGANA A in CP932
    std::string mainText;
    for (int i = 0; i < 10; ++i)
        mainText += a;                   // line 1: ten characters, exactly 20 bytes
    for (const char* tail : {"Y", ""}) { // lines 2 and 3: X, nine characters, tail
        mainText += "X";
        for (int i = 0; i < 9; ++i)
            mainText += a;
        mainText += tail;
    }
    mainText += "\x82";                       // line 3 ends in the first byte of a character ...
    mainText += "\xA0";                       // ... whose second byte opens line 4
    mainText += std::string(17, 'Z') + "END"; // 20 + 20 + 20 + 21 bytes: the last is dropped

    std::string hostText; // the bytes as host characters inside the JSON text
    for (unsigned char byte : mainText)
        hostText += byte < 0x80 ? std::string(1, static_cast<char>(byte))
                                : std::string{static_cast<char>(0xC0 | (byte >> 6)),
                                              static_cast<char>(0x80 | (byte & 0x3F))};
    apply("{\"Expand_Char_No\":1, \"main_str\":\"" + hostText + "\"}");

    std::string hiragana;
    for (int i = 0; i < 10; ++i)
        hiragana += "\xE3\x81\x82";
    EXPECT_EQ(form.edtMianText[0], hiragana);
    EXPECT_EQ(form.edtMianText[1], "X" + hiragana.substr(3) + "Y");
    EXPECT_EQ(form.edtMianText[2], "X" + hiragana.substr(3) + kReplacement);
    EXPECT_EQ(form.edtMianText[3], kReplacement + std::string(17, 'Z') + "EN");
}

TEST_F(SettingsFormTest, UpDownPositionsStayInTheirRanges) {
    apply(R"({"into_lun_bo":200, "lun_time":0})");
    EXPECT_EQ(form.ud_StandbyTime, 120);
    EXPECT_EQ(form.ud_PlayInterval, 1);
    apply(R"({"lun_time":11})");
    EXPECT_EQ(form.ud_PlayInterval, 10);
}

TEST_F(SettingsFormTest, ABadTextChangesNeitherTheRecordNorTheForm) {
    form.edt_line1 = "typed";
    form.rg_brightness = 3;
    const TSettingsForm formBefore = form;
    const TDisplayInfo infoBefore = info;
    for (const std::string text : {"", "{", "[1]", R"({"Char_No":8, "Baud_Rate":"x"})"}) {
        std::string message;
        EXPECT_FALSE(ApplySettingsText(text, form, info, message)) << text;
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(form, formBefore) << text;
        EXPECT_EQ(info.Char_No, infoBefore.Char_No) << text;
        EXPECT_EQ(info.back_light, infoBefore.back_light) << text;
    }
}

} // namespace
} // namespace tavisto
