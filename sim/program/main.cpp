// tavisto-sim: a virtual customer display on a pseudo-terminal.

#include "resources/EmbeddedResources.h"
#include "sim/program/CommandLine.h"
#include "sim/runtime/VirtualDisplay.h"
#include "sim/screen/ScreenFeed.h"
#include "sim/screen/ScreenOptions.h"
#include "sim/screen/ScreenPng.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>

using namespace tavisto::sim;

namespace {

// Waits for SIGINT or SIGTERM; with a screen file, rewrites it on every change while
// waiting.
void runUntilSignalled(const sigset_t& signals, const VirtualDisplay& display,
                       const ScreenOptions& screen) {
    if (screen.file.empty()) {
        int received = 0;
        sigwait(&signals, &received);
        return;
    }
    ScreenFeed feed(display, tavisto::EmbeddedResourceView);
    std::string lastProblem;
    const timespec pause{screen.everyMs / 1000, (screen.everyMs % 1000) * 1'000'000L};
    for (;;) {
        if (feed.refresh(std::chrono::steady_clock::now())) {
            std::string message;
            if (!saveScreenPng(screen.file, feed.frame(), feed.brightnessStep(), message)) {
                // Said once, not at every change, until writing works again.
                if (message != lastProblem)
                    std::cerr << "tavisto-sim: " << message << "\n";
                lastProblem = message;
            } else {
                lastProblem.clear();
            }
        }
        if (sigtimedwait(&signals, nullptr, &pause) >= 0)
            return;
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cmd;
    std::string error;
    if (!parseCommandLine(args, cmd, error)) {
        std::cerr << "tavisto-sim: " << error << "\n" << usageText() << screenUsageText();
        return 2;
    }
    if (cmd.help) {
        std::cout << usageText(cmd.options.faults.pacing) << screenUsageText();
        return 0;
    }

    // The signals are taken by sigwait below; block them before the display's thread
    // starts so that it inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    VirtualDisplay display(cmd.options);
    if (cmd.verbose) {
        const auto start = std::chrono::steady_clock::now();
        display.setLogSink([start](const LogEntry& entry) {
            std::fprintf(stderr, "%s\n", formatEntry(entry, start).c_str());
        });
    }
    if (!display.start(error)) {
        std::cerr << "tavisto-sim: " << error << "\n";
        return 1;
    }
    std::cout << display.devicePath() << std::endl;

    runUntilSignalled(signals, display, cmd.screen);
    display.stop();
    return 0;
}
