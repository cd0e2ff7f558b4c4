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

// One line for a port that is not there (unplugged, or a wrong name). Empty when
// the device exists.
std::string PortMissingHint(const std::string& name, std::uint16_t langId);
// The line that says the port `shownName` (as the system names it) is not there.
std::string MissingPortText(const std::string& shownName, std::uint16_t langId);

// Whether another program (or another handle of this one) holds the port: its
// exclusive-use flag refuses a new open, or it holds the port's lock. `holder` names
// the first process found with the device open ("minicom, process 1234"), when
// this user may see it.
struct PortUse {
    bool busy = false;
    std::string holder;
};

// Looks at the port with a short open of its own, so call it only after an open of
// the port failed: a port this process can open is not busy.
PortUse CheckPortInUse(const std::string& name);

// One line for a port held by another program: the port, the holder when known and
// the fix (close it there). Empty when the port is not held.
std::string PortInUseHint(const std::string& name, std::uint16_t langId);

// `message` with a line saying why the open failed added on a line of its own when
// `message` reports a failed open and the port is missing, one this user may not open,
// or one another program holds; otherwise `message` unchanged.
std::string WithPortOpenHint(const std::string& message, const std::string& name,
                             std::uint16_t langId);

} // namespace tavisto
