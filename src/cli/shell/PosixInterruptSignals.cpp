#include "cli/shell/InterruptSignals.h"

#include <array>
#include <atomic>
#include <csignal>

namespace tavisto::cli {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// Set in a signal handler and read by any thread: a lock-free atomic is safe for both.
std::atomic<int> arrived{0};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<struct sigaction, kSignals.size()> previous{};

extern "C" void noteSignal(int signal) {
    arrived.store(signal);
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
    return arrived.load();
}

void InterruptSignals::clear() {
    arrived.store(0);
}

} // namespace tavisto::cli
