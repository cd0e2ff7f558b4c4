#include "app/ui/UpDown.h"

namespace tavisto::ui {

TUpDown::TUpDown(int minimum, int maximum, int position, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(position);
    setMinimumWidth(64);
}

} // namespace tavisto::ui
