#pragma once

#include "link/SerialPort.h"

#include <atomic>
#include <memory>
#include <string>

namespace tavisto::link {

// A serial line through the Windows communications API: "\\.\COMn" opened for
// overlapped I/O with no sharing, 4096-byte driver queues, raw 8N1 at the requested
// speed (binary, no XON/XOFF, no DSR sensitivity or DSR flow control, no null
// stripping, no abort on error, DTR on; RTS/CTS flow control as the driver has it),
// reads that return at once with what has arrived, and writes given 1000 ms plus
// 100 ms per byte. Closing waits for the bytes written to leave (bounded by their
// wire time) and discards nothing.
class Win32SerialPort final : public SerialPort {
public:
    // Takes ownership of an open, configured communications handle running at
    // `baudRate`.
    Win32SerialPort(void* handle, int baudRate);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    // False when the port could not make the events its overlapped I/O waits on.
    bool usable() const;

    bool write(const Bytes& data, std::string& message) override;
    bool read(Bytes& out, std::string& message) override;
    bool setBaudRate(int baudRate) override;
    bool waitForInput(Millis timeout) override;
    void purgeInput() override;
    // The driver's output queue (COMSTAT.cbOutQue); empty once the line is gone.
    std::optional<std::size_t> outputPending() override;
    // True when the driver says the device is gone (ClearCommError failing as it does
    // for an unplugged USB adapter), or once the port is dead: a driver that did not
    // complete a cancelled operation within a second.
    bool hungUp() override;

    // The communications handle, for tests that look at the device control block.
    void* nativeHandle() const { return handle_; }

private:
    struct Io; // one kind of overlapped operation: its OVERLAPPED, event and buffer

    bool finish(Io& io, unsigned long limit, unsigned long& transferred, unsigned long& error,
                bool& timedOut);
    void drainOutput();

    void* handle_;
    // Owned by the port for its whole life, and beyond it when the driver still holds
    // one (see ~Win32SerialPort): the driver writes into them until it completes.
    std::unique_ptr<Io> write_;
    std::unique_ptr<Io> read_;
    std::atomic<bool> dead_{false};
    std::atomic<int> baudRate_;
    // GetTickCount64() when the last byte written is on the wire at the line's speed.
    std::atomic<unsigned long long> wireClearAt_{0};
    bool timerPeriodSet_ = false;
};

// Opens COM ports by name ("COM3"; a name already in the device namespace, such as
// "\\.\COM3", is taken as it is).
class Win32PortOpener final : public PortOpener {
public:
    int open(const std::string& name, int baudRate, PortHandle& port) override;
};

PortOpener& win32PortOpener();

// The device path a port name stands for: "COM3" gives "\\.\COM3".
std::string devicePath(const std::string& name);

// The Win32 error of opening a port as the opener does (0 when it opened; the
// probe's handle is closed at once). For the cause line of a failed open.
unsigned long probePortOpen(const std::string& name);

} // namespace tavisto::link
