#pragma once

#include "link/Connection.h"

#include <string>

namespace tavisto {

// Shared steps of the session commands: tracing frames, and pacing the loops that
// poll the port for a reply.

inline constexpr const char* kSerialPortNotOpened = "Serial Port Not Opened!";

// Trace lines: "----> " / "<---- " followed by the upper-case hex of the bytes.
void traceSent(TConnection& connection, const Bytes& frame);
void traceReceived(TConnection& connection, const Bytes& reply);

// Appends whatever has arrived on the port to `reply`; false when nothing had.
bool readAppend(link::PortHandle& port, Bytes& reply);

bool endsWithNul(const Bytes& bytes);

// The elapsed-time bound of a polling loop that reads "without pause". Instead of
// spinning between reads, idle() blocks on the port until input may be waiting,
// for at most a few milliseconds and never much past the limit, so the limit
// still holds to the millisecond. On a virtual clock the fake port advances the
// time, which keeps such loops deterministic in tests.
class ReplyWindow {
public:
    // Starts the window now; the loop goes on while at most `limitUnits` (0.864 ms
    // each) have passed.
    ReplyWindow(TConnection& connection, link::PortHandle& port, int limitUnits);

    bool open() const;
    // Reads what has arrived and appends it to `reply`; false when nothing had.
    bool read(Bytes& reply);
    // Call after a read that returned nothing.
    void idle();

private:
    TConnection& connection_;
    link::PortHandle& port_;
    TimePoint start_;
    int limitUnits_;
    bool lastWaitReady_ = false;
    bool emptyAfterReady_ = false;
};

} // namespace tavisto
