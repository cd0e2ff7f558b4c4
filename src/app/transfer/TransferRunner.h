#pragma once

#include "app/transfer/ManualResetEvent.h"
#include "app/transfer/TransferEngine.h"
#include "app/transfer/TransmitThread.h"

#include <atomic>
#include <memory>
#include <thread>

namespace tavisto {

// Owns the transfer engine and its helper threads: the receiver of addressed jobs
// and the worker of named jobs. The receiver answers block requests itself, so that
// a block costs the one wake-up of the thread that reads the port even on a busy
// machine; both hand progress and results to the engine through the owner queue, so
// the engine itself is only ever touched on the owner's thread.
// The window keeps one for the whole run; the command line one per command.
class TTransferRunner final : private TTransferThreads {
public:
    // `threads`, when given, stands in for the runner's own helper threads: a test on
    // a virtual clock runs them on its one thread.
    TTransferRunner(TConnection& connection, TOperator& op, TOwnerQueue& queue, TJobSources sources,
                    TTransferThreads* threads = nullptr);
    // Stops the helper threads before the engine goes.
    ~TTransferRunner() override;

    TTransferEngine& engine() { return engine_; }

private:
    void startReceiver(TBlockAnswerer& answerer) override;
    void stopReceiver() override;
    void receivedHandled() override;
    void startNamedWorker(const TNamedJob& job) override;
    void joinNamedWorker() override;
    void postProgress(int serial, std::uint32_t bytesOnWire);
    void postBlocks(int serial, std::uint32_t lastBlock);
    static void waitForRestOfFrame(std::size_t missingBytes);

    TConnection& connection_;
    TOwnerQueue& queue_;
    ManualResetEvent TransmitEvent{true};
    // Tasks posted by a helper thread check it, so that none runs after the runner.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    // Tasks of an earlier receiver or worker are recognised by their serial.
    int serial_ = 0;
    std::unique_ptr<TTransmitThread> receiver_;
    std::thread worker_;
    std::atomic<bool> cancelWorker_{false};
    std::atomic<std::uint32_t> latestBytes_{0};
    std::atomic<bool> progressPosted_{false};
    std::atomic<std::uint32_t> latestBlock_{0};
    std::atomic<bool> blocksPosted_{false};
    TTransferEngine engine_;
};

} // namespace tavisto
