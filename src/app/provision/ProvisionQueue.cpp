#include "app/provision/ProvisionQueue.h"

#include "app/transfer/QueueRun.h"

namespace tavisto::provision {

QueueOutcome RunWorkerQueue(TConnection& connection, TOperator& op, TJobSources sources,
                            int expected, const std::function<bool(TTransferRunner&)>& start,
                            const std::atomic<bool>& stop,
                            const std::function<void(const TTransferStatus&)>& observer) {
    TQueueWatch watch;
    watch.stopRequested = [&stop] {
        return stop.load();
    };
    watch.observer = observer;
    BlockingOwnerLoop loop;
    TTransferRunner runner(connection, op, loop, std::move(sources));
    const QueueResult result = RunQueue(
        loop, runner.engine(), expected, [&] { return start(runner); }, watch);
    // The result with what the engine says of the queue's jobs and of its stop.
    return QueueOutcome{result, runner.engine().JobOutcomes(), runner.engine().StopCause()};
}

} // namespace tavisto::provision
