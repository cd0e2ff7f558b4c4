#include "cli/ProvisionQueue.h"

#include "app/transfer/QueueRun.h"

namespace tavisto::cli {

QueueResult RunWorkerQueue(TConnection& connection, TOperator& op, TJobSources sources,
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
    return RunQueue(
        loop, runner.engine(), expected, [&] { return start(runner); }, watch);
}

} // namespace tavisto::cli
