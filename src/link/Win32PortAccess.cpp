#include "link/PortAccess.h"

namespace tavisto {

// A COM port on Windows is open to every user, and the system's own open message
// already says when one is missing or held by another program (Windows names no
// holder). So there is never a hint to add.
PortAccess CheckPortAccess(const std::string&) {
    return {};
}

std::string PortPermissionHint(const std::string&, std::uint16_t) {
    return {};
}

PortUse CheckPortInUse(const std::string&) {
    return {};
}

std::string PortInUseHint(const std::string&, std::uint16_t) {
    return {};
}

std::string WithPortOpenHint(const std::string& message, const std::string&, std::uint16_t) {
    return message;
}

} // namespace tavisto
