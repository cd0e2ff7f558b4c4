#include "app/ui/TavistoMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavisto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavisto"));

    tavisto::ui::TfrmTavistoMain window;
    window.connection().trace.setSink(tavisto::Trace::toStandardError());
    window.show();
    return app.exec();
}
