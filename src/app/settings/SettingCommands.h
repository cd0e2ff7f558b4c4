#pragma once

#include "app/Operator.h"
#include "app/Outcome.h"
#include "app/settings/SettingsForm.h"
#include "link/Connection.h"

namespace tavisto {

// The "Setting" buttons of the settings tabs and the two maintenance buttons. Each
// collects the form into the record first (except the command-mode, restore and
// restart buttons, which need no record), sends its commands in order, stops at the
// first failure and tells the operator. Each returns true when everything was sent.

// Command mode: sends the list's row (so "AUTO" sends 14). "Done!" / warning "Fail!".
// With no row selected nothing is sent and the result is "Fail!".
bool btn_commandSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                         TOperator& op);

// The display's baud rate. On success the connection baud-rate list moves to the same
// row and the connection speed follows it; "Done!" / warning "Fail!". A code no row
// has leaves the connection speed as it was.
bool btn_baudrateSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                          TOperator& op);

// Welcome lines 1 and 2 and the scroll flags, with a readiness wait after each line;
// an unanswered wait shows "Not found the devies:" + the reason.
bool btn_DownloadSettingClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                              TOperator& op);

// Header colours and mode.
bool btn_HeaderSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                        TOperator& op);

// Main-text colours, number of lines and the main text.
bool btn_TextSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                      TOperator& op);

// Footer colours.
bool btn_FooterSetClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                        TOperator& op);

// Brightness step; shows something only on failure.
bool btn_brightness_setClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                             TOperator& op);

// Character set, then code page, then one second for the display to switch.
bool btn_DownloadCodePageClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                               TOperator& op);

// Factory settings, only after Yes to "Are you sure you want to restore factory
// settings?". Returns false on No as well.
bool btn_ResetDisplayClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                           TOperator& op);

// Restart, without a question.
bool btn_RestartDisplayClick(TConnection& connection, TSettingsForm& form, TDisplayInfo& info,
                             TOperator& op);

// What the command-mode, main-text and baud-rate buttons send, without a box: their
// outcome under the item's name, with the text the box would show as the cause. The
// buttons above show it.
TOutcome SendCommandMode(TConnection& connection, const TSettingsForm& form);
TOutcome SendMainText(TConnection& connection, TSettingsForm& form, TDisplayInfo& info);
TOutcome SendBaudRate(TConnection& connection, TSettingsForm& form, TDisplayInfo& info);
inline constexpr const char* kCommandModeItem = "command mode";
inline constexpr const char* kMainTextItem = "main text";
inline constexpr const char* kBaudRateItem = "baud rate";

// A send's outcome as these buttons show it: the cause in an error box, or "Done!".
bool ShowOutcome(TOperator& op, const TOutcome& outcome);

// Operator messages of these buttons.
inline constexpr const char* kDoneMessage = "Done!";
inline constexpr const char* kFailMessage = "Fail!";
inline constexpr const char* kNotFoundPrefix = "Not found the devies:";
inline constexpr const char* kRestoreQuestion =
    "Are you sure you want to restore factory settings?";

} // namespace tavisto
