#pragma once

#include "link/SerialPort.h"

#include <functional>

namespace tavisto::link {

// A serial line on a POSIX device path (/dev/ttyUSB0, a pseudo-terminal, ...):
// raw 8N1, non-blocking reads, writes bounded in time, exclusive use.
class PosixSerialPort final : public SerialPort {
public:
    // Takes ownership of an open, configured descriptor; `onClose` runs once it is
    // closed.
    explicit PosixSerialPort(int fd, std::function<void()> onClose = {});
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool write(const Bytes& data, std::string& message) override;
    bool read(Bytes& out, std::string& message) override;
    bool setBaudRate(int baudRate) override;
    bool waitForInput(Millis timeout) override;
    void purgeInput() override;
    std::optional<std::size_t> outputPending() override;
    bool hungUp() override;

    int fd() const { return fd_; }

private:
    int fd_;
    std::function<void()> onClose_;
};

// Opens device paths; a bare name such as "ttyUSB0" is looked up under /dev.
class PosixPortOpener final : public PortOpener {
public:
    int open(const std::string& name, int baudRate, PortHandle& port) override;
    // Takes the device's advisory lock (as every open does) on a descriptor of its
    // own, held while the lock lives; this process's opens of the device then use
    // the held lock instead of taking their own.
    int lock(const std::string& name, PortLockHandle& lock) override;
};

PortOpener& posixPortOpener();

// The device path a port name stands for.
std::string devicePath(const std::string& name);

// Applies raw 8N1 at the given speed to a terminal descriptor. False when the
// descriptor is not a terminal or the speed is not supported.
bool configureLine(int fd, int baudRate);

} // namespace tavisto::link
