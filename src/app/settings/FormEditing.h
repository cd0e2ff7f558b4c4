#pragma once

#include "app/settings/SettingsForm.h"

#include <string>

namespace tavisto {

// The editing aids beside the setting commands: no device traffic, only the form.
// The window writes the operator's change into the form first (the new text, the
// new selection, the checked radio button), then calls the handler.

// Number of characters (Unicode code points) in a UTF-8 text.
int CharacterCount(const std::string& text);

// The text followed by spaces up to `width` characters; a longer text is not cut.
std::string PadToWidth(const std::string& text, int width);

// Centring on a 20-character line: (20 - characters) / 2 spaces in front when that is
// positive, then padded on the right to `width`. A text of 20 characters or more does
// not move.
std::string CenterText(const std::string& text, int width);

// Character counters of the welcome lines.
void edt_line1Change(TSettingsForm& form);
void edt_line2Change(TSettingsForm& form);

// "Center" of the welcome message (both lines, centred on 20 characters, padded to
// 20 and 60) and of the main text (all four edits, visible or not).
void btn_welText_centerClick(TSettingsForm& form);
void btn_mainText_centerClick(TSettingsForm& form);

// Main-text layout (both radio buttons): lines 1 and 2 visible, 3 and 4 only with four
// lines; nothing changes when neither button is checked.
void rbtnTextLine2Click(TSettingsForm& form);

// The coupling of the four code-page selectors.
// The three code-page lists take the radio group's row.
void rg_Down_CodePageClick(TSettingsForm& form);
// The radio group takes the code page that goes with the chosen character set, then
// the three lists follow.
void rg_Down_InterCharClick(TSettingsForm& form);
// The radio group and the other two lists take the welcome-message list's row.
void cbb_CodePageClick(TSettingsForm& form);
// The radio group and the other two lists take the display-test list's row.
void cbb_codepage_testClick(TSettingsForm& form);

// A picture check box 76..85 changed: pic_reg is rebuilt from the ten boxes and the
// "Selected:" count follows.
void CheckBox76Click(TSettingsForm& form, TDisplayInfo& info);

} // namespace tavisto
