#pragma once

#include "app/settings/SettingsForm.h"

#include <string>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace tavisto::ui {

class TfrmTavistoMain;

// Copies the settings controls of every tab into the plain form state: list and
// radio-group indexes (-1 = no selection), texts, checks, colours, up-down positions,
// whether the main-text edits are shown, and the counters.
void ReadSettingsForm(const TfrmTavistoMain& window, TSettingsForm& form);

// Shows the form state on the window's controls. Programmatic changes run no
// handler: the window's handlers listen only to the operator's own picks.
void ShowSettingsForm(const TSettingsForm& form, TfrmTavistoMain& window);

// Helpers the panels bind their controls with.
std::string TextOf(const QLineEdit* edit);
// Shows the whole text, however long: the edits limit typing only. An edit whose
// text already matches is left alone, so its cursor stays put.
void ShowText(QLineEdit* edit, const std::string& value);
int CountOf(const QLabel* label);
void ShowCount(QLabel* label, int count);
// A pair of radio buttons sharing a parent, either, both or neither checked.
void ShowRadioPair(QRadioButton* first, bool firstChecked, QRadioButton* second,
                   bool secondChecked);

} // namespace tavisto::ui
