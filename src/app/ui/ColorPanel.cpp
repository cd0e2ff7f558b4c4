#include "app/ui/ColorPanel.h"

#include <QPalette>

namespace tavisto::ui {

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent) {
    // A plain dark outline: a sunken bevel vanishes around white and light colours.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    setMinimumSize(40, 22);
    setColor(color_);
}

void TColorPanel::setColor(std::uint32_t color) {
    color_ = color & 0x00FFFFFF;
    QPalette p = palette();
    p.setColor(QPalette::Window,
               QColor(int(color_ & 0xFF), int((color_ >> 8) & 0xFF), int((color_ >> 16) & 0xFF)));
    p.setColor(QPalette::WindowText, QColor(96, 96, 96));
    setPalette(p);
}

void TColorPanel::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    emit mousePressed();
}

} // namespace tavisto::ui
