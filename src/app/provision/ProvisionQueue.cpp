#include "app/provision/ProvisionQueue.h"

#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/QueueRun.h"

#include <optional>

namespace tavisto::provision {

QueueOutcome RunWorkerQueue(TConnection& connection, TOperator& op, TJobSources sources,
                            int expected, const std::function<bool(TTransferRunner&)>& start,
                            const std::atomic<bool>& stop,
                            const std::function<void(const TTransferStatus&)>& observer,
                            const QueueThreadsMaker& threads) {
    TQueueWatch watch;
    watch.stopRequested = [&stop] {
        return stop.load();
    };
    watch.observer = observer;
    std::optional<BlockingOwnerLoop> ownerLoop;
    if (threads)
        ownerLoop.emplace(connection.clock());
    else
        ownerLoop.emplace();
    BlockingOwnerLoop& loop = *ownerLoop;
    TTransferRunner* running = nullptr;
    const std::unique_ptr<TTransferThreads> helpers =
        threads ? threads(connection, loop,
                          [&running]() -> TTransferEngine& { return running->engine(); })
                : nullptr;
    TTransferRunner runner(connection, op, loop, std::move(sources), helpers.get());
    running = &runner;
    const QueueResult result = RunQueue(
        loop, runner.engine(), expected, [&] { return start(runner); }, watch);
    // The result with what the engine says of the queue's jobs and of its stop.
    return QueueOutcome{result, runner.engine().JobOutcomes(), runner.engine().StopCause()};
}

} // namespace tavisto::provision
