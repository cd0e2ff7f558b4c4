#pragma once

#include "link/Clock.h"

#include <cstddef>
#include <optional>

namespace tavisto {

// Ten bits a byte on an 8N1 line (start, eight data bits, stop): the time `bytes`
// need on the wire at `baudRate`.
Micros WireTime(std::size_t bytes, int baudRate);

// How many of the `written` bytes can have crossed the wire: those written less
// what the port still holds (`pending`, when the driver can tell), and never more
// than `elapsed` at the line's rate allows. The driver takes kilobytes long before
// they are sent, and a pseudo-terminal holds none at all, so the rate is the cap
// that keeps a progress display honest.
std::size_t BytesOnWire(std::size_t written, std::optional<std::size_t> pending, Micros elapsed,
                        int baudRate);

} // namespace tavisto
