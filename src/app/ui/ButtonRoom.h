#pragma once

class QWidget;

namespace tavisto::ui {

// Gives every push button under `root` room around its caption: at least 96 pixels
// wide, and its caption's width plus a margin each side beyond the style's own.
// Buttons of a fixed size (the slots' "-" and "+") keep it. Run again whenever the
// captions change (the interface language), since the room follows the caption.
void GiveButtonsRoom(QWidget& root);

} // namespace tavisto::ui
