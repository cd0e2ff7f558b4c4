#pragma once

#include "app/transfer/OwnerQueue.h"

#include <QObject>

namespace tavisto {

// The transfer engine's owner queue in the window: posted tasks become queued
// calls into the GUI thread, timers are QTimers. Tasks still queued when the
// queue goes are dropped, never run.
class QtOwnerQueue final : public TOwnerQueue {
public:
    QtOwnerQueue();
    ~QtOwnerQueue() override;

    void post(std::function<void()> task) override;
    std::unique_ptr<TOwnerTimer> makeTimer(std::function<void()> onTick) override;

private:
    // Lives in the GUI thread; queued calls are bound to it.
    QObject* context_;
};

} // namespace tavisto
