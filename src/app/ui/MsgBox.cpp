#include "app/ui/MsgBox.h"

#include "app/Operator.h"

namespace tavisto::ui {

namespace {

constexpr int kButtonMask = 0x0F;
constexpr int kIconMask = 0xF0;
constexpr int kYesNo = 0x04;

QMessageBox::Icon iconOf(int flags) {
    switch (flags & kIconMask) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

bool isYesNo(int flags) {
    return (flags & kButtonMask) == kYesNo;
}

} // namespace

void PrepareMsgBox(QMessageBox& box, const std::string& text, int flags) {
    box.setWindowTitle(QStringLiteral("Tavisto"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    box.setIcon(iconOf(flags));
    if (isYesNo(flags)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
}

int MsgBoxAnswer(QMessageBox::StandardButton pressed, int flags) {
    if (!isYesNo(flags))
        return IDOK;
    return pressed == QMessageBox::Yes ? IDYES : IDNO;
}

} // namespace tavisto::ui
