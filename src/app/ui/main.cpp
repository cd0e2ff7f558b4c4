#include "app/WindowArguments.h"
#include "app/ui/TavistoMain.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#ifdef TAVISTO_WITH_SIM
#include "app/ui/SimulatedDisplay.h"
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavisto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavisto"));

    // Qt has taken its own options out of the argument list.
    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1))
        args.push_back(arg.toStdString());
    tavisto::TWindowArguments options;
    std::string error;
    if (!tavisto::ParseWindowArguments(args, options, error)) {
        std::fprintf(stderr, "tavisto: %s\nusage: tavisto [--simulate MODEL]\n", error.c_str());
        return 2;
    }

    tavisto::ui::TMainWindowSetup setup;
#ifdef TAVISTO_WITH_SIM
    std::unique_ptr<tavisto::ui::TSimulatedDisplay> simulated;
    if (options.simulateModel) {
        simulated = tavisto::ui::TSimulatedDisplay::Start(*options.simulateModel, error);
        if (!simulated) {
            std::fprintf(stderr, "tavisto: cannot start the virtual display: %s\n", error.c_str());
            return 1;
        }
        setup.firstPorts.push_back(simulated->devicePath());
    }
#else
    if (options.simulateModel) {
        std::fprintf(stderr, "tavisto: this build has no virtual display\n");
        return 2;
    }
#endif

    tavisto::ui::TfrmTavistoMain window(std::move(setup));
    window.connection().trace.setSink(tavisto::Trace::toStandardError());
    window.show();
    return app.exec();
}
