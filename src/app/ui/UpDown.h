#pragma once

#include <QSpinBox>

class QLineEdit;

namespace tavisto::ui {

// A number box with up-down arrows: the position is value(), its text box edit().
class TUpDown : public QSpinBox {
    Q_OBJECT
public:
    TUpDown(int minimum, int maximum, int position, QWidget* parent = nullptr);

    QLineEdit* edit() const { return lineEdit(); }
};

} // namespace tavisto::ui
