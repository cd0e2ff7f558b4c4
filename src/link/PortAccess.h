#pragma once

#include <cstdint>
#include <string>

namespace tavisto {

// Whether this process may open a serial port for reading and writing, and the
// group that owns the device. On Linux serial devices usually belong to "dialout",
// and a user outside that group gets "permission denied" when opening them.
struct PortAccess {
    bool exists = false;
    bool denied = false; // the device is there, but this user may not read and write it
    std::string group;   // the owning group's name, or its number when it has none
};

PortAccess CheckPortAccess(const std::string& name);

// One line for a port this user may not open: the port, its group and the usual fix
// (join the group, then log in again). Empty when the port is missing or usable.
std::string PortPermissionHint(const std::string& name, std::uint16_t langId);

// `message` with the permission line added on a line of its own when `message`
// reports a failed open and the port is one this user may not open; otherwise
// `message` unchanged.
std::string WithPortPermissionHint(const std::string& message, const std::string& name,
                                   std::uint16_t langId);

} // namespace tavisto
