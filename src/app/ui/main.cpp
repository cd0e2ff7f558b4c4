#include "app/connect/InterfaceLanguage.h"
#include "app/ui/AppIcon.h"
#include "app/ui/ParentConsole.h"
#include "app/ui/TavistoMain.h"
#include "app/ui/WindowCommandLine.h"
#include "link/DebugOutput.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

#ifdef TAVISTO_WITH_SIM
#include "app/ui/SimulatedDisplay.h"
#include "app/ui/VirtualScreenWindow.h"
#endif
#ifdef TAVISTO_WITH_PREVIEW
#include "app/ui/PreviewWindow.h"
#endif

int main(int argc, char* argv[]) {
    // --help and --version answer before the toolkit looks for a display.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.push_back(QString::fromLocal8Bit(argv[i]));
    if (const auto info = tavisto::ui::WindowInfoText(raw)) {
        tavisto::ui::UseParentConsole();
        std::fputs(info->c_str(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    // Only the application name: a display name would be appended to the window's
    // caption on X11 and Wayland ("Tavisto v3.2 — Tavisto").
    QApplication::setApplicationName(QStringLiteral("Tavisto"));
    // Desktops match the window to tavisto.desktop (and its icon) by this name.
    QApplication::setDesktopFileName(QStringLiteral("tavisto"));
    QApplication::setWindowIcon(tavisto::ui::ApplicationIcon());

    // Qt has taken its own options out of the argument list.
    tavisto::TWindowArguments options;
    std::string error;
    if (!tavisto::ui::ParseWindowArguments(QApplication::arguments().mid(1), options, error)) {
        tavisto::ui::UseParentConsole();
        std::fprintf(stderr, "tavisto: %s\n%s\nTry 'tavisto --help'.\n", error.c_str(),
                     tavisto::WindowUsageLine().c_str());
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
        tavisto::ui::UseParentConsole();
        std::fprintf(stderr, "tavisto: this build has no virtual display\n");
        return 2;
    }
#endif

    tavisto::ui::TfrmTavistoMain window(std::move(setup));
    window.connection().trace.setSink(tavisto::DebugOutputSink());
#ifdef TAVISTO_WITH_PREVIEW
    // The screen the form will give, beside the window (View menu, Ctrl+P).
    tavisto::ui::AddPreviewMenu(window);
#endif
#ifdef TAVISTO_WITH_SIM
    // The simulated display's screen, in a window of its own (View menu, Ctrl+D).
    std::unique_ptr<tavisto::ui::TVirtualScreenWindow> screen;
    if (simulated) {
        screen = std::make_unique<tavisto::ui::TVirtualScreenWindow>(
            [display = simulated.get()](tavisto::ui::TScreenPicture& picture) {
                return display->refreshScreen(picture);
            },
            &window);
        const bool chinese = tavisto::UsesChineseTexts(window.connection().SystemLangId);
        tavisto::ui::AddVirtualDisplayMenu(window, *screen, chinese);
        tavisto::ui::MarkVirtualDisplayPort(
            *window.cbb_SerialPort, QString::fromStdString(simulated->devicePath()), chinese);
    }
#endif
    window.show();
    return app.exec();
}
