#pragma once

#include "link/Connection.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace tavisto {

// How a named job's data phase ended.
struct TNamedOutcome {
    enum class Failure {
        None,           // the display reported the file's CRC: stored
        Verdict,        // the display's CRC text was wrong, late or missing
        PortClosed,     // the line went away (unplugged, the display's end closed)
        StoppedReading, // the line stopped taking bytes within its write time-out
        Cancelled,      // the owner asked the worker to stop
    };
    bool stored = false;
    Failure failure = Failure::None;
    // The failing step's own message ("1: 5", "Download failed : Crc"); empty when
    // the line went away while no step was under way.
    std::string message;
};

// The cause of a failure for the operator ("the port closed"), empty for a CRC
// verdict and for success.
std::string NamedFailureCause(TNamedOutcome::Failure failure);

// The data phase of a named job, run by the worker thread: the file in 256-byte
// pieces, then, once the bytes can have crossed the wire at `baudRate` and 500 ms
// more have passed, the display's CRC text. `onWire` gets the number of bytes that
// have crossed the wire (BytesOnWire) as it grows: after each piece and, while the
// port still sends the rest, at least every 100 ms. A line that goes away or stops
// taking bytes ends the phase at once with that cause. It touches only the session
// port, the clock and the trace.
TNamedOutcome RunNamedDataPhase(TConnection& connection, const Bytes& data, std::uint16_t crc,
                                int baudRate,
                                const std::function<void(std::uint32_t bytesOnWire)>& onWire,
                                const std::atomic<bool>* cancel = nullptr);

} // namespace tavisto
