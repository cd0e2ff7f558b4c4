#include "sim/line/LineSpeed.h"

// The kernel's termios2 carries the speed as a number; its header cannot be mixed
// with <termios.h>, hence this file of its own.
#include <algorithm>
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <iterator>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace tavisto::sim {

int lineSpeedOf(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    return static_cast<int>(tio.c_ospeed);
}

bool isLineSpeed(std::uint64_t rate) {
    static constexpr std::uint64_t kRates[] = {1200,  2400,   4800,   9600,   19200, 38400,
                                               57600, 115200, 230400, 460800, 921600};
    return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}

} // namespace tavisto::sim
