#pragma once

#include "link/Clock.h"

#include <functional>
#include <memory>

namespace tavisto {

// A timer of the engine's owner thread (the watchdog, the seconds counter). It
// repeats until stopped; start() on a running timer restarts its interval.
class TOwnerTimer {
public:
    virtual ~TOwnerTimer() = default;
    virtual void start(Millis interval) = 0;
    virtual void stop() = 0;
    virtual bool enabled() const = 0;
};

// The thread that owns the transfer engine, as seen by the engine's helper threads:
// they hand work to it with post(), which is safe from any thread; the tasks run on
// the owner's thread in the order posted. The window implements it with queued Qt
// calls and Qt timers, the command line and the tests with BlockingOwnerLoop.
class TOwnerQueue {
public:
    virtual ~TOwnerQueue() = default;
    virtual void post(std::function<void()> task) = 0;
    // Called on the owner's thread; `onTick` runs there too.
    virtual std::unique_ptr<TOwnerTimer> makeTimer(std::function<void()> onTick) = 0;
};

} // namespace tavisto
