#pragma once

#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/NamedWorker.h"
#include "app/transfer/TransferEngine.h"
#include "link/Connection.h"

#include <functional>
#include <utility>
#include <vector>

namespace tavisto::testing {

// The engine's helper threads replaced by the test's own thread: the receiver is
// the loop's idle hook, which waits on the fake port (letting the virtual clock
// run to the next arrival) and posts what it reads; the named worker runs the
// real data phase as a posted task.
class InlineThreads final : public TTransferThreads {
public:
    InlineThreads(TConnection& connection, BlockingOwnerLoop& loop)
        : connection_(connection), loop_(loop) {}
    // The engine the helpers report to, once it exists.
    std::function<TTransferEngine&()> engine;
    int receiversStarted = 0;
    // Each wire report of the named worker: the bytes on the wire and the virtual
    // time since its data phase began.
    std::vector<std::pair<std::uint32_t, Micros>> wireReports;

    void startReceiver(TBlockAnswerer&) override {
        ++receiversStarted;
        loop_.setIdleHook([this](Millis maxWait) {
            link::SerialPort& port = *connection_.SessionPort;
            if (!port.waitForInput(maxWait))
                return;
            Bytes batch;
            std::string message;
            if (port.read(batch, message))
                loop_.post([this, batch] { engine().Received(batch); });
        });
    }
    void stopReceiver() override { loop_.setIdleHook(nullptr); }
    void receivedHandled() override {}
    void startNamedWorker(const TNamedJob& job) override {
        loop_.post([this, job] {
            const TimePoint start = connection_.clock().now();
            const TNamedOutcome outcome = RunNamedDataPhase(
                connection_, *job.data, job.crc, 115200, [this, start](std::uint32_t bytesOnWire) {
                    wireReports.emplace_back(bytesOnWire, std::chrono::duration_cast<Micros>(
                                                              connection_.clock().now() - start));
                    loop_.post([this, bytesOnWire] { engine().NamedProgress(bytesOnWire); });
                });
            loop_.post([this, outcome] { engine().NamedVerdict(outcome); });
        });
    }
    void joinNamedWorker() override {}

private:
    TConnection& connection_;
    BlockingOwnerLoop& loop_;
};

} // namespace tavisto::testing
