#include "pictures/ui/PreviewImage.h"

#include <QPaintEvent>
#include <QPainter>

namespace tavisto {

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent) {}

void PreviewImage::setPicture(std::shared_ptr<const OpenedPicture> picture) {
    picture_ = std::move(picture);
    image_ = QImage();
    if (picture_ && !picture_->bitmap.empty()) {
        const Bitmap& b = picture_->bitmap;
        image_ = QImage(b.data().data(), b.width(), b.height(),
                        static_cast<qsizetype>(b.rowBytes()), QImage::Format_RGB888);
    }
    update();
}

void PreviewImage::paintEvent(QPaintEvent* event) {
    if (image_.isNull())
        return;
    QPainter painter(this);
    // Stretched: the bitmap already has the view's size. Centred: offset by
    // (view - picture) div 2, as the view places a picture that fits.
    QPoint origin(0, 0);
    if (!picture_->view.stretched)
        origin =
            QPoint(CentreOffset(width(), image_.width()), CentreOffset(height(), image_.height()));
    // Only the exposed part is drawn, so a very large view stays cheap to repaint.
    const QRect exposed = event->rect().intersected(QRect(origin, image_.size()));
    if (!exposed.isEmpty())
        painter.drawImage(exposed.topLeft(), image_, exposed.translated(-origin));
}

} // namespace tavisto
