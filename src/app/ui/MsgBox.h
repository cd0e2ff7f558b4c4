#pragma once

#include <QMessageBox>
#include <QString>
#include <string>

namespace tavisto::ui {

// Sets up a box titled "Tavisto" with the text, and the icon and buttons that the
// message-box flags ask for (16 error, 48 warning, 64 information, 36 question
// with Yes and No). A column report is shown in a fixed-pitch font.
void PrepareMsgBox(QMessageBox& box, const std::string& text, int flags);

// The answer code (kIdOk, kIdYes, kIdNo) of the button pressed on a box with those
// flags. A Yes/No box closed without a choice answers No.
int MsgBoxAnswer(QMessageBox::StandardButton pressed, int flags);

// Whether a text is a report of padded columns (such as All Download's "label,
// spaces, Success"): several lines, one of which has a run of two or more spaces
// between words. Such texts line up only in a fixed-pitch font.
bool IsColumnReport(const QString& text);

} // namespace tavisto::ui
