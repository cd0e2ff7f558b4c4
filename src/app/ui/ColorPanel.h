#pragma once

#include <QFrame>
#include <cstdint>

namespace tavisto::ui {

// A sunken panel filled with one colour, given as 0x00BBGGRR (red in the low byte).
class TColorPanel : public QFrame {
    Q_OBJECT
public:
    explicit TColorPanel(QWidget* parent = nullptr);

    std::uint32_t color() const { return color_; }
    void setColor(std::uint32_t color);

signals:
    void mousePressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::uint32_t color_ = 0x00FFFFFF;
};

} // namespace tavisto::ui
