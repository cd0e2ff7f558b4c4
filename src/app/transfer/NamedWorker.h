#pragma once

#include "link/Connection.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace tavisto {

// The data phase of a named job, run by the worker thread: the file in 256-byte
// pieces (`onPiece` after each), then, once the bytes can have crossed the wire at
// `baudRate` and 500 ms more have passed, the display's CRC text. True when the
// display reports the file's CRC. It touches only the session port, the clock and
// the trace.
bool RunNamedDataPhase(TConnection& connection, const Bytes& data, std::uint16_t crc, int baudRate,
                       const std::function<void(int piece)>& onPiece,
                       const std::atomic<bool>* cancel = nullptr);

} // namespace tavisto
