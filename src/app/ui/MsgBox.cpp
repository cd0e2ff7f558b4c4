#include "app/ui/MsgBox.h"

#include "app/Operator.h"
#include "pictures/ui/DesktopDialogs.h"

#include <QFontDatabase>
#include <QLabel>
#include <QRegularExpression>

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

bool IsColumnReport(const QString& text) {
    static const QRegularExpression padding(QStringLiteral("\\S {2,}\\S"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() < 2)
        return false;
    for (const QString& line : lines)
        if (padding.match(line).hasMatch())
            return true;
    return false;
}

void PrepareMsgBox(QMessageBox& box, const std::string& text, int flags) {
    const QString shown = QString::fromStdString(text);
    PrepareMessageBox(box, shown, iconOf(flags), isYesNo(flags));
    if (IsColumnReport(shown)) {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setStyleHint(QFont::TypeWriter);
        fixed.setFixedPitch(true);
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setFont(fixed);
    }
}

int MsgBoxAnswer(QMessageBox::StandardButton pressed, int flags) {
    if (!isYesNo(flags))
        return kIdOk;
    return pressed == QMessageBox::Yes ? kIdYes : kIdNo;
}

} // namespace tavisto::ui
