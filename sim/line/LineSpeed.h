#pragma once

namespace tavisto::sim {

// The output speed of a terminal in baud (also speeds set outside the B* constants),
// or -1 when it cannot be read.
int lineSpeedOf(int fd);

} // namespace tavisto::sim
