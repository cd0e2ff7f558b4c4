#pragma once

#include "pictures/PictureConvert.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace tavisto {

// The picture view `Image1`: shows an opened picture either stretched to the view
// (the picture arrives already scaled to the view's size) or centred at its own size.
class PreviewImage : public QWidget {
public:
    explicit PreviewImage(QWidget* parent = nullptr);

    void setPicture(std::shared_ptr<const OpenedPicture> picture);
    const std::shared_ptr<const OpenedPicture>& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const OpenedPicture> picture_;
    QImage image_; // wraps picture_->bitmap without copying it
};

} // namespace tavisto
