#include "app/transfer/BlockingOwnerLoop.h"

#include <algorithm>

namespace tavisto {

class BlockingOwnerLoop::Timer final : public TOwnerTimer {
public:
    Timer(BlockingOwnerLoop& loop, std::function<void()> onTick)
        : loop_(&loop), onTick_(std::move(onTick)) {
        loop_->timers_.push_back(this);
    }
    ~Timer() override {
        if (loop_)
            std::erase(loop_->timers_, this);
    }

    void start(Millis interval) override {
        interval_ = std::max(interval, Millis(1));
        due_ = loop_->clock_.now() + interval_;
    }
    void stop() override { due_.reset(); }
    bool enabled() const override { return due_.has_value(); }

    std::optional<TimePoint> due() const { return due_; }
    void fire() {
        due_ = *due_ + interval_;
        onTick_();
    }
    void detach() { loop_ = nullptr; }

private:
    BlockingOwnerLoop* loop_;
    std::function<void()> onTick_;
    Millis interval_{1};
    std::optional<TimePoint> due_;
};

BlockingOwnerLoop::BlockingOwnerLoop() : clock_(systemClock()), virtual_(false) {}

BlockingOwnerLoop::BlockingOwnerLoop(Clock& virtualClock) : clock_(virtualClock), virtual_(true) {}

BlockingOwnerLoop::~BlockingOwnerLoop() {
    for (Timer* timer : timers_)
        timer->detach();
}

void BlockingOwnerLoop::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
}

std::unique_ptr<TOwnerTimer> BlockingOwnerLoop::makeTimer(std::function<void()> onTick) {
    return std::make_unique<Timer>(*this, std::move(onTick));
}

std::optional<TimePoint> BlockingOwnerLoop::nextDue() const {
    std::optional<TimePoint> next;
    for (const Timer* timer : timers_) {
        if (auto due = timer->due(); due && (!next || *due < *next))
            next = due;
    }
    return next;
}

// Runs the tasks posted so far and the timers that are due; true when anything ran.
bool BlockingOwnerLoop::runReady() {
    bool ran = false;
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty())
                break;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        ran = true;
    }
    const TimePoint now = clock_.now();
    // A timer's tick may stop or delete other timers: pick one at a time.
    for (;;) {
        Timer* due = nullptr;
        for (Timer* timer : timers_) {
            if (timer->due() && *timer->due() <= now && (!due || *timer->due() < *due->due()))
                due = timer;
        }
        if (!due)
            break;
        due->fire();
        ran = true;
    }
    return ran;
}

void BlockingOwnerLoop::idle(Millis maxWait) {
    if (idleHook_) {
        idleHook_(maxWait);
        return;
    }
    if (virtual_) {
        clock_.sleep(maxWait);
        return;
    }
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, maxWait, [this] { return !tasks_.empty(); });
}

bool BlockingOwnerLoop::runUntil(const std::function<bool()>& done, Millis limit) {
    const TimePoint end = clock_.now() + limit;
    for (;;) {
        runReady();
        if (done())
            return true;
        const TimePoint now = clock_.now();
        if (now >= end)
            return false;
        {
            std::lock_guard lock(mutex_);
            if (!tasks_.empty())
                continue;
        }
        TimePoint until = end;
        if (auto due = nextDue())
            until = std::min(until, *due);
        else if (virtual_ && !idleHook_)
            return false; // nothing could ever happen
        idle(std::max(Millis(0), std::chrono::ceil<Millis>(until - now)));
    }
}

} // namespace tavisto
