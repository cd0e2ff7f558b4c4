#include "app/transfer/TransferRunner.h"

#include "app/transfer/NamedWorker.h"

namespace tavisto {

TTransferRunner::TTransferRunner(TConnection& connection, TOperator& op, TOwnerQueue& queue,
                                 TJobSources sources)
    : connection_(connection), queue_(queue),
      engine_(connection, op, queue, *this, std::move(sources)) {}

TTransferRunner::~TTransferRunner() {
    receiver_.reset();
    cancelWorker_ = true;
    joinNamedWorker();
}

void TTransferRunner::startReceiver() {
    receiver_.reset();
    if (!connection_.SessionPort)
        return;
    const int serial = ++serial_;
    std::weak_ptr<int> alive = alive_;
    receiver_ = std::make_unique<TTransmitThread>(
        *connection_.SessionPort, TransmitEvent, [this, alive, serial](Bytes batch) {
            queue_.post([this, alive, serial, batch = std::move(batch)] {
                if (alive.lock() && serial == serial_)
                    engine_.Received(batch);
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

void TTransferRunner::joinNamedWorker() {
    if (worker_.joinable())
        worker_.join();
}

} // namespace tavisto
