#pragma once

#include "app/Outcome.h"
#include "app/transfer/JobSources.h"
#include "app/transfer/QueueRun.h"
#include "app/transfer/TransferRunner.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavisto {
class BlockingOwnerLoop;
} // namespace tavisto

namespace tavisto::provision {

using QueueResult = TQueueOutcome;

// Makes stand-ins for a queue's helper threads from the worker's connection, its owner
// loop and the engine they report to (reachable once the loop runs).
using QueueThreadsMaker = std::function<std::unique_ptr<TTransferThreads>(
    TConnection&, BlockingOwnerLoop&, std::function<TTransferEngine&()>)>;

// How a worker's queue ended, with what its engine says of each job and of a stop.
struct QueueOutcome {
    QueueResult result = QueueResult::Failed;
    std::vector<TOutcome> jobs; // TTransferEngine::JobOutcomes
    std::string stopCause;      // TTransferEngine::StopCause
};

// Runs one download queue on a worker's own owner loop and runner, so that workers on
// other ports share nothing with it. `start` starts the window's workflow on the
// runner (true when the engine took the queue). When `stop` turns true the engine is
// interrupted at its next safe point, which sets the display back to its speed.
// Stored when the queue ran to its end, stored `expected` jobs (at least one for
// kAnyJobCount) and failed none. `observer` sees the engine's status once a second.
// `threads`, when set, makes the helpers and runs the owner loop on the connection's
// clock (a test on a virtual clock); empty for the runner's own threads in real time.
QueueOutcome RunWorkerQueue(TConnection& connection, TOperator& op, TJobSources sources,
                            int expected, const std::function<bool(TTransferRunner&)>& start,
                            const std::atomic<bool>& stop,
                            const std::function<void(const TTransferStatus&)>& observer,
                            const QueueThreadsMaker& threads = {});

} // namespace tavisto::provision
