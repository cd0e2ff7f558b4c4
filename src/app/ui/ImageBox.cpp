#include "app/ui/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavisto::ui {

TImageBox::TImageBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void TImageBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void TImageBox::clearPicture() {
    picture_ = QImage();
    update();
}

void TImageBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (picture_.isNull())
        return;
    const QRect area = contentsRect();
    QSize size = picture_.size();
    size.scale(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(area.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

void TImageBox::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

} // namespace tavisto::ui
