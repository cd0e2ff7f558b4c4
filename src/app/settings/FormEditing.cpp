#include "app/settings/FormEditing.h"

#include "settings/Vocabulary.h"

#include <cstdint>

namespace tavisto {

int CharacterCount(const std::string& text) {
    int count = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) != 0x80) // every byte but a continuation byte starts a character
            ++count;
    }
    return count;
}

std::string PadToWidth(const std::string& text, int width) {
    const int count = CharacterCount(text);
    if (count >= width)
        return text;
    return text + std::string(static_cast<std::size_t>(width - count), ' ');
}

std::string CenterText(const std::string& text, int width) {
    const int lead = (kMainTextLineWidth - CharacterCount(text)) / 2;
    const std::string moved =
        lead > 0 ? std::string(static_cast<std::size_t>(lead), ' ') + text : text;
    return PadToWidth(moved, width);
}

void edt_line1Change(TSettingsForm& form) {
    form.lbl_mess1_count = CharacterCount(form.edt_line1);
}

void edt_line2Change(TSettingsForm& form) {
    form.lbl_mess2_count = CharacterCount(form.edt_line2);
}

void btn_welText_centerClick(TSettingsForm& form) {
    form.edt_line1 = CenterText(form.edt_line1, kWelcomeLine1Width);
    edt_line1Change(form);
    form.edt_line2 = CenterText(form.edt_line2, kWelcomeLine2Width);
    edt_line2Change(form);
}

void btn_mainText_centerClick(TSettingsForm& form) {
    for (std::string& line : form.edtMianText)
        line = CenterText(line, kMainTextLineWidth);
}

void rbtnTextLine2Click(TSettingsForm& form) {
    if (!form.rbtnTextLine2 && !form.rbtnTextLine4)
        return;
    form.edtMianTextVisible[0] = true;
    form.edtMianTextVisible[1] = true;
    form.edtMianTextVisible[2] = form.rbtnTextLine4;
    form.edtMianTextVisible[3] = form.rbtnTextLine4;
}

void rg_Down_CodePageClick(TSettingsForm& form) {
    form.cbb_CodePage = form.rg_Down_CodePage;
    form.cbb_codepage_test = form.rg_Down_CodePage;
    form.cbb_codepage_maintext = form.rg_Down_CodePage;
}

void rg_Down_InterCharClick(TSettingsForm& form) {
    const int row = form.rg_Down_InterChar;
    if (row < 0 || row >= static_cast<int>(InterChars.size()))
        return;
    const auto lastCodePage = static_cast<int>(CodePages.size()) - 1;
    form.rg_Down_CodePage = IndexOfCodePage(
        CodePages, lastCodePage, InterChars[static_cast<std::size_t>(row)].SetCodePageNo);
    rg_Down_CodePageClick(form);
}

void cbb_CodePageClick(TSettingsForm& form) {
    form.rg_Down_CodePage = form.cbb_CodePage;
    form.cbb_codepage_test = form.cbb_CodePage;
    form.cbb_codepage_maintext = form.cbb_CodePage;
}

void cbb_codepage_testClick(TSettingsForm& form) {
    form.rg_Down_CodePage = form.cbb_codepage_test;
    form.cbb_CodePage = form.cbb_codepage_test;
    form.cbb_codepage_maintext = form.cbb_codepage_test;
}

void CheckBox76Click(TSettingsForm& form, TDisplayInfo& info) {
    std::uint16_t picReg = 0;
    int count = 0;
    for (std::size_t k = 0; k < form.CheckBox76to85.size(); ++k) {
        if (form.CheckBox76to85[k]) {
            picReg = static_cast<std::uint16_t>(picReg | (1u << k));
            ++count;
        }
    }
    info.pic_reg = picReg;
    form.lbl_selected_nums = count;
}

} // namespace tavisto
