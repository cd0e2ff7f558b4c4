#include "pictures/ui/SelectionFrame.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavisto {

SelectionFrame::SelectionFrame(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SizeAllCursor);
    setMouseTracking(true);
}

void SelectionFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    // The 3-pixel outline, inside the frame's rectangle.
    painter.fillRect(0, 0, w, 3, Qt::red);
    painter.fillRect(0, h - 3, w, 3, Qt::red);
    painter.fillRect(0, 0, 3, h, Qt::red);
    painter.fillRect(w - 3, 0, 3, h, Qt::red);
    if (!hovered_ && !dragging_)
        return;
    // Corner squares.
    painter.fillRect(0, 0, 10, 10, Qt::red);
    painter.fillRect(w - 10, 0, 10, 10, Qt::red);
    painter.fillRect(0, h - 10, 10, 10, Qt::red);
    painter.fillRect(w - 10, h - 10, 10, 10, Qt::red);
    // Squares on the middle of the left, top and bottom edges, a narrower one on the right.
    painter.fillRect(0, h / 2 - 5, 10, 10, Qt::red);
    painter.fillRect(w / 2 - 5, 0, 10, 10, Qt::red);
    painter.fillRect(w / 2 - 5, h - 10, 10, 10, Qt::red);
    painter.fillRect(w - 8, h / 2 - 5, 8, 10, Qt::red);
    // Bars along the edges.
    painter.fillRect(0, 0, w, 4, Qt::red);
    painter.fillRect(0, h - 4, w, 4, Qt::red);
    painter.fillRect(0, 0, 4, h, Qt::red);
    painter.fillRect(w - 4, 0, 4, h, Qt::red);
}

void SelectionFrame::mousePressEvent(QMouseEvent* event) {
    dragging_ = true;
    pressGlobal_ = event->globalPosition().toPoint();
    pressPosition_ = pos();
    raise();
    event->accept();
}

void SelectionFrame::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        move(pressPosition_ + (event->globalPosition().toPoint() - pressGlobal_));
    } else if (!hovered_) {
        hovered_ = true;
        update();
    }
    event->accept();
}

void SelectionFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    dragging_ = false;
    event->accept();
    emit released();
    update();
}

void SelectionFrame::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void SelectionFrame::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

} // namespace tavisto
