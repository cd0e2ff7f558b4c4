#pragma once

class QLineEdit;

namespace tavisto::ui {

// Lets the operator type at most `limit` characters into `edit`. Unlike a maximum
// length it never cuts a text set by the program: a longer text loaded from a
// settings file stays whole, can be shortened, and only refuses to grow.
void LimitTyping(QLineEdit* edit, int limit);

} // namespace tavisto::ui
