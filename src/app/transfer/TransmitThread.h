#pragma once

#include "app/transfer/ManualResetEvent.h"
#include "link/SerialPort.h"

#include <atomic>
#include <functional>
#include <thread>

namespace tavisto {

// The receiver of an addressed job: a thread that waits on the session port for
// input and hands each batch it reads (at most 4096 bytes) to `deliver`, on its own
// thread. `TransmitEvent` keeps one batch outstanding: the thread resets it before
// delivering and reads again only once it is set, by `deliver` when the batch is
// handled or by whoever the batch was handed on to.
// It never sleeps a fixed time while the line is healthy: the port's own wait
// returns as soon as a byte arrives.
class TTransmitThread {
public:
    using Deliver = std::function<void(Bytes)>;

    TTransmitThread(link::SerialPort& port, ManualResetEvent& transmitEvent, Deliver deliver);
    ~TTransmitThread();
    TTransmitThread(const TTransmitThread&) = delete;
    TTransmitThread& operator=(const TTransmitThread&) = delete;

    // Sets the stop flag, wakes the thread and joins it. Afterwards the thread no
    // longer touches the port.
    void Stop();

private:
    void Execute();

    link::SerialPort& port_;
    ManualResetEvent& transmitEvent_;
    Deliver deliver_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace tavisto
