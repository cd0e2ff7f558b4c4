// tavisto-sim: a virtual customer display on a pseudo-terminal.

#include "sim/CommandLine.h"
#include "sim/VirtualDisplay.h"

#include <csignal>
#include <cstdio>
#include <iostream>

using namespace tavisto::sim;

int main(int argc, char** argv) {
    CommandLine cmd;
    std::string error;
    if (!parseCommandLine({argv + 1, argv + argc}, cmd, error)) {
        std::cerr << "tavisto-sim: " << error << "\n" << usageText();
        return 2;
    }
    if (cmd.help) {
        std::cout << usageText(cmd.options.faults.pacing);
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

    int received = 0;
    sigwait(&signals, &received);
    display.stop();
    return 0;
}
