#include "app/transfer/TransferRunner.h"

#include "app/transfer/NamedWorker.h"

#include <chrono>
#include <thread>

namespace tavisto {

TTransferRunner::TTransferRunner(TConnection& connection, TOperator& op, TOwnerQueue& queue,
                                 TJobSources sources, TTransferThreads* threads)
    : connection_(connection), queue_(queue),
      engine_(connection, op, queue, threads ? *threads : *this, std::move(sources)) {}

TTransferRunner::~TTransferRunner() {
    receiver_.reset();
    cancelWorker_ = true;
    joinNamedWorker();
}

// The receiver answers the block requests on its own thread and reads on at once;
// the engine hears of the blocks (coalesced) and of the finished frame, after which
// the receiver reads nothing more until the engine has stopped it.
void TTransferRunner::startReceiver(TBlockAnswerer& answerer) {
    receiver_.reset();
    if (!connection_.SessionPort)
        return;
    const int serial = ++serial_;
    std::weak_ptr<int> alive = alive_;
    receiver_ = std::make_unique<TTransmitThread>(
        *connection_.SessionPort, TransmitEvent, [this, alive, serial, &answerer](Bytes batch) {
            TBlockAnswerer::TAnswered answered = answerer.TransmitSwap(batch);
            if (answered.blocks > 0)
                postBlocks(serial, answered.lastBlock);
            if (answered.withheld) {
                // A stop was asked for: the engine stops the queue between blocks.
                queue_.post([this, alive, serial] {
                    if (alive.lock() && serial == serial_)
                        engine_.Interrupt();
                });
                return;
            }
            if (!answered.finished) {
                waitForRestOfFrame(answerer.Missing());
                TransmitEvent.SetEvent();
                return;
            }
            queue_.post([this, alive, serial, frame = std::move(*answered.finished)] {
                if (alive.lock() && serial == serial_)
                    engine_.TransmitExp(frame);
            });
        });
}

void TTransferRunner::stopReceiver() {
    receiver_.reset();
}

void TTransferRunner::receivedHandled() {
    TransmitEvent.SetEvent();
}

void TTransferRunner::startNamedWorker(const TNamedJob& job) {
    joinNamedWorker();
    const int serial = ++serial_;
    cancelWorker_ = false;
    std::weak_ptr<int> alive = alive_;
    worker_ = std::thread([this, alive, serial, job] {
        TNamedOutcome outcome = RunNamedDataPhase(
            connection_, *job.data, job.crc, kTransferBaudRate,
            [this, serial](std::uint32_t bytesOnWire) { postProgress(serial, bytesOnWire); },
            &cancelWorker_);
        queue_.post([this, alive, serial, outcome = std::move(outcome)] {
            if (alive.lock() && serial == serial_)
                engine_.NamedVerdict(outcome);
        });
    });
}

// Progress is coalesced: while one position waits to be shown, later reports only
// update it, so a fast line cannot flood the owner's queue.
void TTransferRunner::postProgress(int serial, std::uint32_t bytesOnWire) {
    latestBytes_ = bytesOnWire;
    if (progressPosted_.exchange(true))
        return;
    std::weak_ptr<int> alive = alive_;
    queue_.post([this, alive, serial] {
        if (!alive.lock())
            return;
        progressPosted_ = false;
        if (serial == serial_)
            engine_.NamedProgress(latestBytes_);
    });
}

// A display writes its 16-byte frames at the line's pace, so a port read as soon as
// anything arrives yields them a byte at a time: a wake-up per byte, which a busy
// CPU serves late. The rest of a begun frame cannot come sooner than its time on the
// wire, so the receiver reads again only then.
void TTransferRunner::waitForRestOfFrame(std::size_t missingBytes) {
    if (missingBytes == 0)
        return;
    const auto wire = std::chrono::microseconds(missingBytes * 10 * 1'000'000 / kTransferBaudRate);
    std::this_thread::sleep_for(wire);
}

// Coalesced as the named worker's progress is.
void TTransferRunner::postBlocks(int serial, std::uint32_t lastBlock) {
    latestBlock_ = lastBlock;
    if (blocksPosted_.exchange(true))
        return;
    std::weak_ptr<int> alive = alive_;
    queue_.post([this, alive, serial] {
        if (!alive.lock())
            return;
        blocksPosted_ = false;
        if (serial == serial_)
            engine_.BlocksAnswered(latestBlock_);
    });
}

void TTransferRunner::joinNamedWorker() {
    if (worker_.joinable())
        worker_.join();
}

} // namespace tavisto
