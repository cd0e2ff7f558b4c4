#include "app/provision/ProvisionQueue.h"

#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferRunner.h"

namespace tavisto::provision {

QueueOutcome RunWorkerQueue(TConnection& connection, TOperator& op, TJobSources sources,
                            int expected, const std::function<bool(TTransferRunner&)>& start,
                            const std::atomic<bool>& stop,
                            const std::function<void(const TTransferStatus&)>& observer) {
    BlockingOwnerLoop loop;
    TTransferRunner runner(connection, op, loop, std::move(sources));
    TTransferEngine& engine = runner.engine();
    // The result with what the engine says of the queue's jobs and of its stop.
    auto ended = [&engine](QueueResult result) {
        return QueueOutcome{result, engine.JobOutcomes(), engine.StopCause()};
    };
    if (observer)
        engine.setStatusObserver(observer);
    // A stop asked for while the workflow switches the link or between items is seen
    // before the next frame goes out, not only once the loop below runs.
    engine.setStopRequest([&stop] { return stop.load(); });
    if (stop.load())
        return ended(QueueResult::Interrupted);
    if (!start(runner))
        return ended(QueueResult::Failed);
    // The engine's seconds counter wakes the loop at least once a second, so a stop
    // is seen within a second.
    bool stopAsked = false;
    for (;;) {
        loop.runUntil([&] { return !engine.Running() || (!stopAsked && stop.load()); });
        if (!engine.Running())
            break;
        stopAsked = true;
        engine.Interrupt();
    }
    if (engine.Interrupted())
        return ended(QueueResult::Interrupted);
    const bool stored =
        expected == kAnyJobCount ? engine.Succeeded() > 0 : engine.Succeeded() == expected;
    return ended(engine.Completed() && stored && engine.Failed() == 0 ? QueueResult::Stored
                                                                      : QueueResult::Failed);
}

} // namespace tavisto::provision
