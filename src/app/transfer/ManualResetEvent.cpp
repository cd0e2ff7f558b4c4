#include "app/transfer/ManualResetEvent.h"

namespace tavisto {

ManualResetEvent::ManualResetEvent(bool initiallySignalled) : signalled_(initiallySignalled) {}

void ManualResetEvent::SetEvent() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    changed_.notify_all();
}

void ManualResetEvent::ResetEvent() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool ManualResetEvent::IsSignalled() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return signalled_; });
}

} // namespace tavisto
