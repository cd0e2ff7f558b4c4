#pragma once

#include <cstdint>

namespace tavisto::sim {

// The output speed of a terminal in baud (also speeds set outside the B* constants),
// or -1 when it cannot be read.
int lineSpeedOf(int fd);

// Whether the display's UART can run at this speed: 1200 to 921600 baud in the
// usual steps, every one of which a host's serial port can be set to as well.
bool isLineSpeed(std::uint64_t rate);

} // namespace tavisto::sim
