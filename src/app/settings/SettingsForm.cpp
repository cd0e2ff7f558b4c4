#include "app/settings/SettingsForm.h"

#include "app/settings/FormEditing.h"
#include "settings/CodePage.h"
#include "settings/ColorBits.h"
#include "settings/SettingsText.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <exception>

namespace tavisto {
namespace {

template <typename Table> bool isRow(const Table& table, int row) {
    return row >= 0 && row < static_cast<int>(table.size());
}

template <typename Table> int lastRow(const Table& table) {
    return static_cast<int>(table.size()) - 1;
}

template <typename Table> const auto& rowOf(const Table& table, int row) {
    return table[static_cast<std::size_t>(row)];
}

// The form's colour panel shows the 24-bit colour; the record keeps it and its RGB565.
void collectColor(TColor panel, TColor& rgb888, TColor& rgb565) {
    rgb888 = panel;
    rgb565 = ColorToRgb565(panel);
}

void showColor(TColor rgb565, TColor& rgb888, TColor& panel) {
    rgb888 = Rgb565ToColor(static_cast<std::uint16_t>(rgb565 & 0xFFFF));
    panel = rgb888;
}

// Brightness items "20%", "40%", "60%", "100%" and the level codes the display stores.
int brightnessItemOf(std::uint8_t backLight) {
    switch (backLight) {
    case 1:
    case 2:
        return 3;
    case 3:
    case 4:
        return 2;
    case 5:
        return 1;
    case 6:
        return 0;
    default:
        return 2;
    }
}

// Radio groups run their click behaviour only when the selection actually changes.
void selectInterChar(TSettingsForm& form, int row) {
    if (form.rg_Down_InterChar == row)
        return;
    form.rg_Down_InterChar = row;
    rg_Down_InterCharClick(form);
}

void selectCodePage(TSettingsForm& form, int row) {
    if (form.rg_Down_CodePage == row)
        return;
    form.rg_Down_CodePage = row;
    rg_Down_CodePageClick(form);
}

} // namespace

int CodePageOfRow(int row) {
    return isRow(CodePages, row) ? rowOf(CodePages, row).CodePageName
                                 : CodePages.front().CodePageName;
}

void CollectSettings(TSettingsForm& form, TDisplayInfo& info) {
    info.temp1 = 0;
    if (isRow(SetBaudRates, form.cbb_down_BaudRate))
        info.Baud_Rate = static_cast<std::uint8_t>(form.cbb_down_BaudRate);

    SetBit(info.temp2, 1, !form.chk_Scroll1);
    SetBit(info.temp2, 2, !form.chk_Scroll2);
    SetBit(info.temp2, 3, true);
    SetBit(info.temp2, 4, false);

    if (isRow(InterChars, form.rg_Down_InterChar))
        info.Char_No =
            static_cast<std::uint8_t>(rowOf(InterChars, form.rg_Down_InterChar).InterCharNo);
    if (isRow(CodePages, form.rg_Down_CodePage))
        info.Expand_Char_No =
            static_cast<std::uint8_t>(rowOf(CodePages, form.rg_Down_CodePage).CodePageNoNew);
    if (isRow(CommandModes, form.cbb_down_CommandMode))
        info.Comm_No =
            static_cast<std::uint8_t>(rowOf(CommandModes, form.cbb_down_CommandMode).CommandNo);

    const int welcomeCodePage = CodePageOfRow(form.cbb_CodePage);
    form.edt_line1 = PadToWidth(form.edt_line1, kWelcomeLine1Width);
    edt_line1Change(form);
    info.wel_mess1 = TextToCodePage(form.edt_line1, welcomeCodePage);
    form.edt_line2 = PadToWidth(form.edt_line2, kWelcomeLine2Width);
    edt_line2Change(form);
    info.wel_mess2 = TextToCodePage(form.edt_line2, welcomeCodePage);

    collectColor(form.pnlColorTextText, info.font_Foreground_color_888,
                 info.font_Foreground_color_565);
    collectColor(form.pnlColorBgText, info.font_Background_color_888,
                 info.font_Background_color_565);
    collectColor(form.pnlColorBgFooter, info.bm_back_rgb_888, info.bm_back_rgb_565);
    collectColor(form.pnlColorTextFooter, info.bm_font_rgb_888, info.bm_font_rgb_565);
    collectColor(form.pnlColorBgHeader, info.tp_back_rgb_888, info.tp_back_rgb_565);
    collectColor(form.pnlColorTextHeader, info.tp_font_rgb_888, info.tp_font_rgb_565);

    if (form.rg_brightness >= 0 && form.rg_brightness <= 3) {
        info.back_light_set = static_cast<std::uint8_t>(form.rg_brightness + 1);
        info.back_light = static_cast<std::uint8_t>(6 - form.rg_brightness);
    }

    CheckBox76Click(form, info);

    if (form.rbtnTextLine2) {
        info.line_mode = 1;
        form.edtMianTextVisible = {true, true, false, false};
    } else if (form.rbtnTextLine4) {
        info.line_mode = 2;
        form.edtMianTextVisible = {true, true, true, true};
    }

    if (form.rbtnHeaderText)
        info.tp_mode = 10;
    else if (form.rbtnHeaderPicture)
        info.tp_mode = 9;

    std::string mainText;
    for (std::string& line : form.edtMianText) {
        line = PadToWidth(line, kMainTextLineWidth);
        mainText += line;
    }
    info.main_str = TextToCodePage(mainText, CodePageOfRow(form.cbb_codepage_maintext));

    info.into_lun_bo = static_cast<std::uint8_t>(
        std::clamp(form.ud_StandbyTime, kStandbyTimeMin, kStandbyTimeMax));
    info.lun_time = static_cast<std::uint8_t>(
        std::clamp(form.ud_PlayInterval, kPlayIntervalMin, kPlayIntervalMax));
}

void ShowSettings(TSettingsForm& form, TDisplayInfo& info) {
    form.cbb_down_BaudRate = IndexOfBaudRate(SetBaudRates, lastRow(SetBaudRates), info.Baud_Rate);
    form.chk_Scroll1 = !GetBit(info.temp2, 1);
    form.chk_Scroll2 = !GetBit(info.temp2, 2);
    selectInterChar(form, IndexOfInterChar(InterChars, lastRow(InterChars), info.Char_No));
    selectCodePage(form, IndexOfCodePage(CodePages, lastRow(CodePages), info.Expand_Char_No));
    form.cbb_down_CommandMode =
        IndexOfCommandMode(CommandModes, lastRow(CommandModes), info.Comm_No);

    const int shownCodePage = CodePageOfRow(form.rg_Down_CodePage);
    form.edt_line1 = CodePageToText(info.wel_mess1, shownCodePage);
    edt_line1Change(form);
    form.edt_line2 = CodePageToText(info.wel_mess2, shownCodePage);
    edt_line2Change(form);

    showColor(info.font_Foreground_color_565, info.font_Foreground_color_888,
              form.pnlColorTextText);
    showColor(info.font_Background_color_565, info.font_Background_color_888, form.pnlColorBgText);
    showColor(info.bm_back_rgb_565, info.bm_back_rgb_888, form.pnlColorBgFooter);
    showColor(info.bm_font_rgb_565, info.bm_font_rgb_888, form.pnlColorTextFooter);
    showColor(info.tp_back_rgb_565, info.tp_back_rgb_888, form.pnlColorBgHeader);
    showColor(info.tp_font_rgb_565, info.tp_font_rgb_888, form.pnlColorTextHeader);

    form.rg_brightness = brightnessItemOf(info.back_light);
    info.back_light_set = static_cast<std::uint8_t>(form.rg_brightness + 1);

    info.pic_reg_lo = static_cast<std::uint8_t>(info.pic_reg & 0xFF);
    info.pic_reg_hi = static_cast<std::uint8_t>(info.pic_reg >> 8);
    int selected = 0;
    for (int k = 0; k < 10; ++k) {
        const bool checked =
            k < 8 ? GetBit(info.pic_reg_lo, k + 1) : GetBit(info.pic_reg_hi, k - 7);
        form.CheckBox76to85[static_cast<std::size_t>(k)] = checked;
        selected += checked ? 1 : 0;
    }
    form.lbl_selected_nums = selected;

    const bool fourLines = info.line_mode == 2;
    form.rbtnTextLine4 = fourLines;
    form.rbtnTextLine2 = !fourLines;
    form.edtMianTextVisible = {true, true, fourLines, fourLines};

    form.rbtnHeaderPicture = info.tp_mode == 9;
    form.rbtnHeaderText = !form.rbtnHeaderPicture;

    // Each line is its own 20 bytes, whatever characters a double-byte code page has
    // at the seams.
    for (std::size_t i = 0; i < form.edtMianText.size(); ++i) {
        const std::size_t start = i * kMainTextLineWidth;
        const Bytes slice = start < info.main_str.size()
                                ? info.main_str.substr(start, kMainTextLineWidth)
                                : Bytes();
        form.edtMianText[i] = CodePageToText(slice, shownCodePage);
    }

    form.ud_StandbyTime = std::clamp<int>(info.into_lun_bo, kStandbyTimeMin, kStandbyTimeMax);
    form.ud_PlayInterval = std::clamp<int>(info.lun_time, kPlayIntervalMin, kPlayIntervalMax);
}

bool ApplySettingsText(const std::string& text, TSettingsForm& form, TDisplayInfo& info,
                       std::string& message) {
    TDisplayInfo record = info;
    if (!ReadSettingsText(text, record, message))
        return false;
    TSettingsForm shown = form;
    try {
        ShowSettings(shown, record);
    } catch (const std::exception& error) {
        message = std::string("Get Settings Failed:") + error.what();
        return false;
    }
    info = std::move(record);
    form = std::move(shown);
    message = "OK";
    return true;
}

} // namespace tavisto
