#include "app/transfer/QueueRun.h"

namespace tavisto {

TQueueOutcome RunQueue(BlockingOwnerLoop& loop, TTransferEngine& engine, int expected,
                       const std::function<bool()>& start, const TQueueWatch& watch) {
    const auto stopAsked = [&watch] {
        return watch.stopRequested && watch.stopRequested();
    };
    if (watch.observer)
        engine.setStatusObserver(watch.observer);
    // The engine asks before each frame it sends, so that a stop asked for while the
    // workflow switches the link or between items never lets a named file be announced.
    engine.setStopRequest(watch.stopRequested);
    if (stopAsked())
        return TQueueOutcome::Interrupted;
    if (!start())
        return TQueueOutcome::Failed;
    // The engine's seconds counter wakes the loop at least once a second, so a stop is
    // seen within a second.
    bool told = false;
    for (;;) {
        loop.runUntil([&] { return !engine.Running() || (!told && stopAsked()); });
        if (!engine.Running())
            break;
        told = true;
        if (!engine.Interrupt() && watch.stopDeferred)
            watch.stopDeferred();
    }
    if (engine.Interrupted())
        return TQueueOutcome::Interrupted;
    const bool stored =
        expected == kAnyJobCount ? engine.Succeeded() > 0 : engine.Succeeded() == expected;
    return engine.Completed() && stored && engine.Failed() == 0 ? TQueueOutcome::Stored
                                                                : TQueueOutcome::Failed;
}

} // namespace tavisto
