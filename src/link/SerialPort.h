#pragma once

#include "link/Bytes.h"
#include "link/Clock.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace tavisto::link {

// The most a single read hands back, as the driver's 4096-byte input queue did.
inline constexpr std::size_t kReadChunk = 4096;

// An open serial line. Implementations: POSIX termios (PosixSerialPort), the Windows
// communications API (Win32SerialPort), and the scripted fake ports of the tests.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Writes all bytes. Never hangs: gives up after 1000 ms + 100 ms per byte.
    // On failure the message is "1: <errno>" (the write itself failed) or
    // "3: <errno>" (the line did not take the bytes in time).
    virtual bool write(const Bytes& data, std::string& message) = 0;

    // Returns at once with what has arrived, at most kReadChunk bytes. With nothing
    // waiting (or a line error) it fails with "Failed to read data".
    virtual bool read(Bytes& out, std::string& message) = 0;

    // Sets the line speed with 8 data bits, no parity, 1 stop bit.
    virtual bool setBaudRate(int baudRate) = 0;

    // Blocks until input is waiting, the line hangs up, or the time-out passes.
    // Returns true when a read would not block (data or a line error).
    virtual bool waitForInput(Millis timeout) = 0;

    // Discards everything in the receive queue.
    virtual void purgeInput() = 0;

    // Bytes written but not yet sent on the line, when the driver can tell; empty
    // when it cannot (a pseudo-terminal, a port type without such a count). Callers
    // that show progress also cap it by the line's rate, so empty is a safe answer.
    virtual std::optional<std::size_t> outputPending() { return std::nullopt; }

    // True once the line is gone: the device was unplugged or the other end of a
    // pseudo-terminal closed. False while it is there or when that cannot be told.
    virtual bool hungUp() { return false; }
};

using PortHandle = std::unique_ptr<SerialPort>;

// Open result codes (the index into the open-error texts).
enum OpenCode : int {
    kOpenAlreadyOpen = 0,
    kOpenOk = 1,
    kOpenFailed = 2,
    kOpenSetupFailed = 3,
    kOpenNoEvent = 4,
};

// Keeps a port for its holder while it lives (see PortOpener::lock).
class PortLock {
public:
    virtual ~PortLock() = default;
};

using PortLockHandle = std::unique_ptr<PortLock>;

// Opens a port by name. Tests substitute openers that hand out fake ports.
class PortOpener {
public:
    virtual ~PortOpener() = default;
    // Returns kOpenOk with `port` set, kOpenFailed when the device is missing or
    // in use, kOpenSetupFailed when it is not a configurable serial line.
    virtual int open(const std::string& name, int baudRate, PortHandle& port) = 0;

    // Keeps the port `name` for this process across many opens of it: while `lock`
    // lives, this process's own opens of the port (one at a time) go on working, and
    // every other program that opens the port, between them too, is refused. Returns
    // kOpenOk with `lock` set, or kOpenFailed (missing, not allowed, in use). Where a
    // port is never shared between opens (Windows opens ports exclusively; fake
    // ports), nothing needs holding and the default hands out an empty lock.
    virtual int lock(const std::string& name, PortLockHandle& lock) {
        (void)name;
        lock = std::make_unique<PortLock>();
        return kOpenOk;
    }
};

// Opens the machine's own serial ports: the POSIX or the Win32 opener, whichever
// this build has.
PortOpener& systemPortOpener();

} // namespace tavisto::link
