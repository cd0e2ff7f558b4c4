#include "app/ui/UpDown.h"

namespace tavisto::ui {

TUpDown::TUpDown(int minimum, int maximum, int position, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(position);
}

} // namespace tavisto::ui
