#pragma once

#include "app/SettingsForm.h"

#include <QString>
#include <string>

namespace tavisto::ui {

class TfrmTavistoMain;

// Copies the settings controls of the window into the plain form state: list and
// radio-group indexes (-1 = no selection), texts, checks, colours, up-down positions,
// whether the main-text edits are shown, and the counters.
void ReadSettingsForm(const TfrmTavistoMain& window, TSettingsForm& form);

// Shows the form state on the window's controls. Programmatic changes run no
// handler: the window's handlers listen only to the operator's own picks.
// Edits whose text already matches are left alone, so the cursor stays put.
void ShowSettingsForm(const TSettingsForm& form, TfrmTavistoMain& window);

// Turns a "Description|pattern|Description|pattern" filter into Qt's
// "Description;;Description" form, adding "(pattern)" where the description lacks it.
QString QtFileFilter(const std::string& filter);

} // namespace tavisto::ui
