#include "app/settings/FormEditing.h"

#include <gtest/gtest.h>
#include <string>

namespace tavisto {
namespace {

std::string spaces(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

TEST(Centring, PutsHalfTheMissingSpacesInFrontOfATwentyCharacterLine) {
    EXPECT_EQ(CenterText("ABC", 20), spaces(8) + "ABC" + spaces(9));
    EXPECT_EQ(CenterText("", 20), spaces(20));
    EXPECT_EQ(CenterText(std::string(18, 'x'), 20), " " + std::string(18, 'x') + " ");
    EXPECT_EQ(CenterText(std::string(19, 'x'), 20), std::string(19, 'x') + " ");
    // Characters, not bytes: two CJK characters are two.
    EXPECT_EQ(CenterText("\xE6\x97\xA5\xE6\x9C\xAC", 20),
              spaces(9) + "\xE6\x97\xA5\xE6\x9C\xAC" + spaces(9));
    // Line 2 is centred on 20 as well, but padded to 60; a long line does not move.
    EXPECT_EQ(CenterText("AB", 60), spaces(9) + "AB" + spaces(49));
    EXPECT_EQ(CenterText(std::string(25, 'y'), 60), std::string(25, 'y') + spaces(35));
    // An already padded text stays as it is.
    EXPECT_EQ(CenterText("AB" + spaces(18), 20), "AB" + spaces(18));
}

TEST(Centring, ButtonsCentreBothWelcomeLinesAndAllFourMainLines) {
    TSettingsForm form;
    form.edt_line1 = "ABC";
    form.edt_line2 = std::string(25, 'y');
    form.edtMianText = {"A", "BB", "", "hidden"};
    form.edtMianTextVisible = {true, true, false, false};

    btn_welText_centerClick(form);
    EXPECT_EQ(form.edt_line1, spaces(8) + "ABC" + spaces(9));
    EXPECT_EQ(form.lbl_mess1_count, 20);
    EXPECT_EQ(form.edt_line2, std::string(25, 'y') + spaces(35));
    EXPECT_EQ(form.lbl_mess2_count, 60);

    btn_mainText_centerClick(form);
    EXPECT_EQ(form.edtMianText[0], spaces(9) + "A" + spaces(10));
    EXPECT_EQ(form.edtMianText[1], spaces(9) + "BB" + spaces(9));
    EXPECT_EQ(form.edtMianText[2], spaces(20));
    EXPECT_EQ(form.edtMianText[3], spaces(7) + "hidden" + spaces(7));
}

TEST(Counters, CountCharactersIncludingSpaces) {
    TSettingsForm form;
    form.edt_line1 = " \xC3\xA9t\xC3\xA9 ";
    edt_line1Change(form);
    EXPECT_EQ(form.lbl_mess1_count, 5);
    form.edt_line2 = "\xE4\xBD\xA0\xE5\xA5\xBD"; // two characters, six bytes
    edt_line2Change(form);
    EXPECT_EQ(form.lbl_mess2_count, 2);
}

TEST(MainTextLayout, FourLinesShowAllEditsTwoHideTheLastTwo) {
    TSettingsForm form;
    form.rbtnTextLine2 = false;
    form.rbtnTextLine4 = true;
    rbtnTextLine2Click(form);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{true, true, true, true}));

    form.rbtnTextLine2 = true;
    form.rbtnTextLine4 = false;
    rbtnTextLine2Click(form);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{true, true, false, false}));

    form.rbtnTextLine2 = false; // neither checked: nothing changes
    form.edtMianTextVisible = {false, true, true, false};
    rbtnTextLine2Click(form);
    EXPECT_EQ(form.edtMianTextVisible, (std::array<bool, 4>{false, true, true, false}));
}

struct CodePageRows {
    int radio, welcome, test, mainText;
    bool operator==(const CodePageRows&) const = default;
};

CodePageRows rowsOf(const TSettingsForm& form) {
    return {form.rg_Down_CodePage, form.cbb_CodePage, form.cbb_codepage_test,
            form.cbb_codepage_maintext};
}

TEST(CodePageCoupling, ACharacterSetSelectsItsCodePageEverywhere) {
    TSettingsForm form;
    form.rg_Down_InterChar = 8; // "Japan"
    rg_Down_InterCharClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{15, 15, 15, 15})); // "CP932"

    form.rg_Down_InterChar = 19; // "Other"
    rg_Down_InterCharClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{0, 0, 0, 0})); // "CP437"

    form.rg_Down_InterChar = 13; // "Greek": code page 21 is "CP737"
    rg_Down_InterCharClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{1, 1, 1, 1}));

    form.rg_Down_InterChar = -1; // no selection: nothing moves
    rg_Down_InterCharClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{1, 1, 1, 1}));
}

TEST(CodePageCoupling, EachSelectorButTheMainTextListMovesTheOthers) {
    TSettingsForm form;
    form.rg_Down_CodePage = 4;
    rg_Down_CodePageClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{4, 4, 4, 4}));

    form.cbb_CodePage = 7;
    cbb_CodePageClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{7, 7, 7, 7}));

    form.cbb_codepage_test = 26;
    cbb_codepage_testClick(form);
    EXPECT_EQ(rowsOf(form), (CodePageRows{26, 26, 26, 26}));
}

TEST(PictureBoxes, ACheckBoxRebuildsTheSelectionAndItsCount) {
    TSettingsForm form;
    TDisplayInfo info;
    info.pic_reg = 0xFC00; // bits above the ten boxes are dropped
    form.CheckBox76to85[0] = true;
    form.CheckBox76to85[3] = true;
    form.CheckBox76to85[9] = true;
    CheckBox76Click(form, info);
    EXPECT_EQ(info.pic_reg, 0x0209);
    EXPECT_EQ(form.lbl_selected_nums, 3);
}

} // namespace
} // namespace tavisto
