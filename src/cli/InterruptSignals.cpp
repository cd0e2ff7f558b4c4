#include "cli/InterruptSignals.h"

#include <array>
#include <csignal>

namespace tavisto::cli {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t arrived = 0;
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void noteSignal(int signal) {
    arrived = signal;
}

} // namespace

InterruptSignals::InterruptSignals() {
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &previous[i]);
}

InterruptSignals::~InterruptSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &previous[i], nullptr);
}

int InterruptSignals::received() {
    return arrived;
}

void InterruptSignals::clear() {
    arrived = 0;
}

} // namespace tavisto::cli
