#include "link/Clock.h"

#include <thread>

namespace tavisto {

TimePoint SteadyClock::now() const {
    return std::chrono::steady_clock::now();
}

void SteadyClock::sleep(Millis duration) {
    if (duration.count() > 0)
        std::this_thread::sleep_for(duration);
}

Clock& systemClock() {
    static SteadyClock clock;
    return clock;
}

} // namespace tavisto
