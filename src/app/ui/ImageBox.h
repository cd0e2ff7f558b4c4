#pragma once

#include <QFrame>
#include <QImage>

namespace tavisto::ui {

// A picture preview: the picture is stretched proportionally into the box and
// centred. An empty box draws only its frame.
class TImageBox : public QFrame {
    Q_OBJECT
public:
    explicit TImageBox(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    void clearPicture();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

} // namespace tavisto::ui
