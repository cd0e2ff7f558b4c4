#pragma once

#include <chrono>

namespace tavisto {

using Millis = std::chrono::milliseconds;
using Micros = std::chrono::microseconds;
using TimePoint = std::chrono::steady_clock::time_point;

// The seam through which every protocol wait reads the time and pauses, so that
// tests of time-outs can run on a virtual clock instead of real time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleep(Millis duration) = 0;
};

// Monotonic real time.
class SteadyClock final : public Clock {
public:
    TimePoint now() const override;
    void sleep(Millis duration) override;
};

Clock& systemClock();

// Wait limits are counted in units of one hundred-millionth of a day (0.864 ms).
// A wait goes on while the elapsed time is at most K units.
constexpr Micros waitLimit(int units) {
    return Micros(864LL * units);
}

inline bool withinLimit(TimePoint start, TimePoint now, int units) {
    return now - start <= waitLimit(units);
}

} // namespace tavisto
