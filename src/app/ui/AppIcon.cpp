#include "app/ui/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tavisto::ui {

QIcon ApplicationIcon() {
    const QIcon themed = QIcon::fromTheme(QStringLiteral("tavisto"));
    if (!themed.isNull())
        return themed;
    QIcon icon;
    const QDir icons(QCoreApplication::applicationDirPath() +
                     QStringLiteral("/../share/icons/hicolor"));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = icons.filePath(QStringLiteral("%1x%1/apps/tavisto.png").arg(size));
        if (QFileInfo::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    return icon;
}

} // namespace tavisto::ui
