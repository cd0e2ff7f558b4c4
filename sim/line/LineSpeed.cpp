#include "sim/line/LineSpeed.h"

// The kernel's termios2 carries the speed as a number; its header cannot be mixed
// with <termios.h>, hence this file of its own.
#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace tavisto::sim {

int lineSpeedOf(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0)
        return -1;
    return static_cast<int>(tio.c_ospeed);
}

} // namespace tavisto::sim
