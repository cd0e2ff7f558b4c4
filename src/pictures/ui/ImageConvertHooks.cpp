#include "pictures/ui/ImageConvertHooks.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace tavisto {

QString NativeImageConvertHooks::chooseOpenFile(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString NativeImageConvertHooks::chooseSaveFile(QWidget* parent, const QString& filter,
                                                const QString& initialName) {
    return QFileDialog::getSaveFileName(parent, QString(), initialName, filter);
}

void NativeImageConvertHooks::showError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, QStringLiteral("Tavisto"), message);
}

void NativeImageConvertHooks::showWarning(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("Tavisto"), message);
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

} // namespace tavisto
