#pragma once

#include "app/transfer/OwnerQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace tavisto {

// An owner queue run by a blocking loop on the thread that calls run(): posted
// tasks and timers, timed by the clock seam. In real time (the default) an idle
// loop waits on a condition variable that every post cuts short. On a virtual
// clock (single-threaded tests) nothing can post from elsewhere, so idle time is
// let pass by sleeping the clock, or handed to the idle hook, which may wait on a
// fake port and post what arrives.
class BlockingOwnerLoop final : public TOwnerQueue {
public:
    using IdleHook = std::function<void(Millis maxWait)>;

    BlockingOwnerLoop();
    explicit BlockingOwnerLoop(Clock& virtualClock);
    ~BlockingOwnerLoop() override;

    void post(std::function<void()> task) override;
    std::unique_ptr<TOwnerTimer> makeTimer(std::function<void()> onTick) override;

    // Runs tasks and timers until `done` holds (true) or `limit` has passed on the
    // clock (false). With a virtual clock and nothing left that could ever run, it
    // gives up at once (false).
    bool runUntil(const std::function<bool()>& done, Millis limit = Millis(3'600'000));

    void setIdleHook(IdleHook hook) { idleHook_ = std::move(hook); }
    Clock& clock() { return clock_; }

private:
    class Timer;
    friend class Timer;

    bool runReady();
    std::optional<TimePoint> nextDue() const;
    void idle(Millis maxWait);

    Clock& clock_;
    bool virtual_;
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
    std::vector<Timer*> timers_;
    IdleHook idleHook_;
};

} // namespace tavisto
