#include "pictures/ui/DesktopDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace tavisto::ui {

QString TNativeDialogs::chooseFile(QWidget* parent, const TFileDialog& dialog) {
    QString start = dialog.folder;
    if (!dialog.proposedName.isEmpty())
        start = start.isEmpty() ? dialog.proposedName : QDir(start).filePath(dialog.proposedName);
    const QString filter = QtNameFilters(dialog.filter);
    return dialog.save ? QFileDialog::getSaveFileName(parent, {}, start, filter)
                       : QFileDialog::getOpenFileName(parent, {}, start, filter);
}

std::optional<QColor> TNativeDialogs::chooseColor(QWidget* parent) {
    const QColor color = QColorDialog::getColor(Qt::white, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

QMessageBox::StandardButton TNativeDialogs::showMessageBox(QMessageBox& box) {
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void PrepareMessageBox(QMessageBox& box, const QString& text, QMessageBox::Icon icon, bool yesNo) {
    box.setWindowTitle(QStringLiteral("Tavisto"));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(icon);
    const QMessageBox::StandardButton defaultButton = yesNo ? QMessageBox::Yes : QMessageBox::Ok;
    box.setStandardButtons(yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setDefaultButton(defaultButton);
}

void ShowMessage(TDesktopDialogs& dialogs, QWidget* parent, QMessageBox::Icon icon,
                 const QString& text) {
    QMessageBox box(parent);
    PrepareMessageBox(box, text, icon, false);
    dialogs.showMessageBox(box);
}

QString QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const qsizetype bracket = name.lastIndexOf(QLatin1Char('('));
        if (bracket > 0 && name.endsWith(QLatin1Char(')')))
            name = name.left(bracket).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        filters << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace tavisto::ui
