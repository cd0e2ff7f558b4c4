#include "link/PortAccess.h"

namespace tavisto {

// A COM port on Windows is open to every user; one that cannot be opened is missing
// or in use, which the open message already says. So there is never a hint to add.
PortAccess CheckPortAccess(const std::string&) {
    return {};
}

std::string PortPermissionHint(const std::string&, std::uint16_t) {
    return {};
}

std::string WithPortPermissionHint(const std::string& message, const std::string&, std::uint16_t) {
    return message;
}

} // namespace tavisto
