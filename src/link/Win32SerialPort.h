#pragma once

#include "link/SerialPort.h"

#include <string>

namespace tavisto::link {

// A serial line through the Windows communications API: "\\.\COMn" opened for
// overlapped I/O with no sharing, 4096-byte driver queues, 8N1 at the requested speed
// (the flow-control fields as the driver has them), reads that return at once with
// what has arrived, and writes given 1000 ms plus 100 ms per byte.
class Win32SerialPort final : public SerialPort {
public:
    // Takes ownership of an open, configured communications handle.
    explicit Win32SerialPort(void* handle);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool write(const Bytes& data, std::string& message) override;
    bool read(Bytes& out, std::string& message) override;
    bool setBaudRate(int baudRate) override;
    bool waitForInput(Millis timeout) override;
    void purgeInput() override;

private:
    void* handle_;
    void* writeDone_; // manual-reset event of the write in progress
    void* readDone_;  // manual-reset event of the read in progress
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

} // namespace tavisto::link
