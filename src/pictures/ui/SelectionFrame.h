#pragma once

#include <QPoint>
#include <QWidget>

namespace tavisto {

// The selection frame `panSelect`: a transparent panel of the target's size with a red
// 3-pixel outline. The operator drags it with the mouse; while the mouse is over it,
// red handles are drawn. Releasing the button emits `released` so the dialog can clamp
// the frame onto the picture.
class SelectionFrame : public QWidget {
    Q_OBJECT

public:
    explicit SelectionFrame(QWidget* parent = nullptr);

signals:
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool dragging_ = false;
    bool hovered_ = false;
    QPoint pressGlobal_;
    QPoint pressPosition_;
};

} // namespace tavisto
