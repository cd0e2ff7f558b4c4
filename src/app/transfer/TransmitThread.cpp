#include "app/transfer/TransmitThread.h"

namespace tavisto {

namespace {

// The longest the thread waits on the port or the event before it looks at the
// stop flag again; it also paces a hung-up line that reports input yet yields none.
constexpr Millis kStopCheck{20};

} // namespace

TTransmitThread::TTransmitThread(link::SerialPort& port, ManualResetEvent& transmitEvent,
                                 Deliver deliver)
    : port_(port), transmitEvent_(transmitEvent), deliver_(std::move(deliver)) {
    // A batch left outstanding by an earlier receiver must not hold this one.
    transmitEvent_.SetEvent();
    thread_ = std::thread([this] { Execute(); });
}

TTransmitThread::~TTransmitThread() {
    Stop();
}

void TTransmitThread::Stop() {
    stop_ = true;
    // Wakes a thread waiting for the owner to take the last batch.
    transmitEvent_.SetEvent();
    if (thread_.joinable())
        thread_.join();
}

void TTransmitThread::Execute() {
    while (!stop_) {
        if (!port_.waitForInput(kStopCheck))
            continue;
        while (!stop_ && !transmitEvent_.WaitFor(kStopCheck)) {
        }
        if (stop_)
            break;
        Bytes batch;
        std::string message;
        if (!port_.read(batch, message)) {
            // Input was reported but none came: the line hung up. Do not spin on it;
            // the engine's watchdog ends the job.
            std::this_thread::sleep_for(kStopCheck);
            continue;
        }
        transmitEvent_.ResetEvent();
        deliver_(std::move(batch));
    }
}

} // namespace tavisto
