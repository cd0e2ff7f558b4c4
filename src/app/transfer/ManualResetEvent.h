#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tavisto {

// An event that stays signalled until it is reset, releasing every waiter while
// it is set. The transfer receiver thread uses one to keep at most one
// "data arrived" notification outstanding.
class ManualResetEvent {
public:
    explicit ManualResetEvent(bool initiallySignalled);

    void SetEvent();
    void ResetEvent();
    bool IsSignalled() const;
    // Blocks until signalled or the time-out passes; true when signalled.
    bool WaitFor(std::chrono::milliseconds timeout);

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_;
};

} // namespace tavisto
