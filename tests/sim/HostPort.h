#pragma once

#include "sim/runtime/VirtualDisplay.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace tavisto::sim::test {

using namespace std::chrono_literals;

// The host's end of the line, set up with a few lines of termios as a host program
// would (exclusive, raw 8N1), so that the tests do not lean on the host's own code.
class HostPort {
public:
    HostPort(const std::string& path, int baudRate);
    ~HostPort();
    HostPort(const HostPort&) = delete;
    HostPort& operator=(const HostPort&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    void setSpeed(int baudRate);
    // Other line settings than 8N1: data bits, parity 'N', 'E' or 'O', stop bits, and
    // what the line discipline does with damaged characters (INPCK, IGNPAR).
    void setFraming(int dataBits, char parity, int stopBits, bool checkParity = false,
                    bool ignoreDamaged = false);
    void send(const Bytes& bytes);
    // Reads until count bytes have arrived or the limit has passed.
    Bytes readCount(std::size_t count, Millis limit = 3000ms);
    // Reads until the last byte read is the given one, or the limit has passed.
    Bytes readUntil(char last, Millis limit = 3000ms);
    // Whatever arrives within the window.
    Bytes readFor(Millis window);

private:
    int fd_ = -1;
};

// Bytes from a hex text such as "02 07 16 01".
Bytes hex(const std::string& text);

// The configuration text's strings hold 8-bit bytes; JSON parsers want UTF-8.
std::string latin1ToUtf8(const Bytes& bytes);

// CRC-16/CCITT-FALSE, written out again for the tests.
std::uint16_t testCrc(const Bytes& bytes);

// A display on a pty for one test, with a host port open on it.
class SimFixture {
public:
    explicit SimFixture(SimOptions options = {});
    VirtualDisplay& sim() { return sim_; }
    HostPort& host() { return *host_; }
    // Sends a frame and returns the reply of the expected length.
    Bytes ask(const Bytes& frame, std::size_t replyLength);
    // Sends a frame and waits until the display has taken it in.
    void tell(const Bytes& frame);
    // Closes the host port; reopen() opens it again.
    void closeHost();
    void reopen(int baudRate);

private:
    VirtualDisplay sim_;
    std::unique_ptr<HostPort> host_;
};

} // namespace tavisto::sim::test
