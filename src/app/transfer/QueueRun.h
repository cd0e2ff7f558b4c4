#pragma once

#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferEngine.h"

#include <functional>

namespace tavisto {

enum class TQueueOutcome { Stored, Failed, Interrupted };

// `expected` for a queue whose number of stored jobs is not known beforehand.
inline constexpr int kAnyJobCount = -1;

// What a front end hands the queue runner besides the queue itself.
struct TQueueWatch {
    // Asked before the workflow starts and, by the engine, before every step that sends
    // anything (the next item, a job's first frame, each block of an addressed job).
    // Asked on the receiver's thread too, so it must be safe to call from any thread.
    std::function<bool()> stopRequested;
    // The engine's status, once a second while the queue runs.
    std::function<void(const TTransferStatus&)> observer;
    // Told once when a stop was asked while a named file or a firmware image was on its
    // way: that one goes whole before the queue stops.
    std::function<void()> stopDeferred;
};

// Runs one download queue: `start` starts a workflow on `engine` (true when the engine
// took the queue), and `loop`, the engine's owner loop, runs until the queue ends. A
// loop and a runner of the caller's own per queue keep queues on other ports apart. Once
// a stop is asked for, nothing more is sent but the rest of a named file or firmware
// image already begun; then the display is set back to its speed. A stop asked for
// before the start sends nothing at all. Stored when the queue ran to its end, stored
// `expected` jobs (at least one for kAnyJobCount) and failed none.
TQueueOutcome RunQueue(BlockingOwnerLoop& loop, TTransferEngine& engine, int expected,
                       const std::function<bool()>& start, const TQueueWatch& watch);

} // namespace tavisto
