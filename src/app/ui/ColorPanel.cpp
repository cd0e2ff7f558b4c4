#include "app/ui/ColorPanel.h"

#include <QPalette>

namespace tavisto::ui {

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setMinimumSize(40, 22);
    setColor(color_);
}

void TColorPanel::setColor(std::uint32_t color) {
    color_ = color & 0x00FFFFFF;
    QPalette p = palette();
    p.setColor(QPalette::Window,
               QColor(int(color_ & 0xFF), int((color_ >> 8) & 0xFF), int((color_ >> 16) & 0xFF)));
    setPalette(p);
}

void TColorPanel::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    emit mousePressed();
}

} // namespace tavisto::ui
