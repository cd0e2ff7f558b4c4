#pragma once

#include "settings/DisplayInfo.h"

#include <array>
#include <string>

namespace tavisto {

// The state of every main-window control that the settings workflows read or write.
// The window binds its widgets to it (and the command-line front end uses it without
// any widgets), so collecting the form, applying a settings text, All Download and the
// command line's "apply" all run the same code.
//
// List and radio-group values are item indexes, which are the rows of the vocabulary
// tables (Vocabulary.h); -1 means no selection. Texts are UTF-8. After any workflow
// the window re-reads the whole state; comparing a copy taken before (operator==)
// tells whether anything changed.
struct TSettingsForm {
    // Connection group: the connection baud-rate list (rows of PortBaudRates).
    int cbb_BaudRate = 0;

    // Basic Setting tab.
    std::string edt_line1;   // welcome line 1, up to 20 characters typed
    std::string edt_line2;   // welcome line 2, up to 60 characters typed
    int lbl_mess1_count = 0; // characters in edt_line1
    int lbl_mess2_count = 0; // characters in edt_line2
    bool chk_Scroll1 = true; // hidden, but still decides bit 0 of temp2
    bool chk_Scroll2 = true;
    int cbb_CodePage = -1;         // welcome-message code page (rows of CodePages)
    int cbb_down_CommandMode = -1; // rows of CommandModes
    int cbb_down_BaudRate = -1;    // the display's own speed (rows of SetBaudRates)

    // Display Setting tab. Colours are 0x00BBGGRR.
    TColor pnlColorTextHeader = 0;
    TColor pnlColorBgHeader = 0;
    bool rbtnHeaderText = true;
    bool rbtnHeaderPicture = false;
    TColor pnlColorTextText = 0;
    TColor pnlColorBgText = 0;
    bool rbtnTextLine2 = true;
    bool rbtnTextLine4 = false;
    std::array<std::string, 4> edtMianText{}; // main-text lines 1..4, 20 characters each
    std::array<bool, 4> edtMianTextVisible{true, true, false, false};
    int cbb_codepage_maintext = -1; // main-text code page (rows of CodePages)
    TColor pnlColorTextFooter = 0;
    TColor pnlColorBgFooter = 0;
    int rg_brightness = 2; // "20%", "40%", "60%", "100%"

    // CodePage Setting tab.
    int rg_Down_InterChar = -1; // rows of InterChars
    int rg_Down_CodePage = -1;  // rows of CodePages

    // Display Testing tab: its code-page list follows the code-page radio group.
    int cbb_codepage_test = -1;

    // Picture Management tab: CheckBox76 ... CheckBox85 (the idle-play pictures).
    std::array<bool, 10> CheckBox76to85{};
    int lbl_selected_nums = 0;
    int ud_StandbyTime = 30; // 0..120 seconds
    int ud_PlayInterval = 2; // 1..10 seconds

    bool operator==(const TSettingsForm&) const = default;
};

// Field widths of the texts.
inline constexpr int kWelcomeLine1Width = 20;
inline constexpr int kWelcomeLine2Width = 60;
inline constexpr int kMainTextLineWidth = 20;

// Ranges of the two up-down controls.
inline constexpr int kStandbyTimeMin = 0;
inline constexpr int kStandbyTimeMax = 120;
inline constexpr int kPlayIntervalMin = 1;
inline constexpr int kPlayIntervalMax = 10;

// Reads the form into the record. Also writes the space-padded texts back into their
// edits (padding counts characters, never cuts), sets the visibility of the main-text
// edits and the selected-pictures count. A list with no selection leaves its record
// field as it was (the record still holds the number that left the list empty); a
// code-page list with no selection converts with the first code page, CP437.
void CollectSettings(TSettingsForm& form, TDisplayInfo& info);

// Shows the record on the form in the established order, including the coupling of
// the code-page selectors: a character set that changes pulls the code pages to its
// own, then the record's code page wins. Rebuilds the six 24-bit colours, pic_reg_lo,
// pic_reg_hi and back_light_set in the record. Numbers no table row has leave their
// list with no selection. Up-down positions are kept to their ranges.
void ShowSettings(TSettingsForm& form, TDisplayInfo& info);

// Reads a settings text into the record and shows it on the form. On failure returns
// false with the operator message in `message`; then neither the record nor the form
// has changed.
bool ApplySettingsText(const std::string& text, TSettingsForm& form, TDisplayInfo& info,
                       std::string& message);

// The code page number (CodePageName) a code-page list row converts with; rows
// outside the table (no selection) give CP437.
int CodePageOfRow(int row);

} // namespace tavisto
