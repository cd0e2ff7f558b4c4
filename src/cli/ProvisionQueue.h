#pragma once

#include "app/transfer/JobSources.h"
#include "app/transfer/QueueRun.h"
#include "app/transfer/TransferRunner.h"

#include <atomic>
#include <functional>

namespace tavisto::cli {

using QueueResult = TQueueOutcome;

// Runs one download queue on a worker's own owner loop and runner, so that workers on
// other ports share nothing with it. `start` starts the window's workflow on the
// runner (true when the engine took the queue). When `stop` turns true the engine is
// interrupted at its next safe point, which sets the display back to its speed.
// Stored when the queue ran to its end, stored `expected` jobs (at least one for
// kAnyJobCount) and failed none. `observer` sees the engine's status once a second.
QueueResult RunWorkerQueue(TConnection& connection, TOperator& op, TJobSources sources,
                           int expected, const std::function<bool(TTransferRunner&)>& start,
                           const std::atomic<bool>& stop,
                           const std::function<void(const TTransferStatus&)>& observer);

} // namespace tavisto::cli
