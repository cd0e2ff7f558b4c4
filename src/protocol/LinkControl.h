#pragma once

#include "link/Connection.h"

#include <optional>
#include <string>

namespace tavisto {

// The link between this program and the display: the session port and the speed
// both sides use on it. Every workflow that opens a session or changes the speed
// does it through these steps.

// The pauses of a speed switch: after the display's link-speed command, and after
// the port's own speed was set. Without `afterPort` the port keeps its speed (the
// session is closed right after, so only the display needs to hear it).
struct TLinkPauses {
    Millis afterCommand;
    std::optional<Millis> afterPort;
};

// The transfer queue's switch: 200 ms after the command, 100 ms after the port.
inline constexpr TLinkPauses kTransferLinkPauses{Millis(200), Millis(100)};

// Opens SessionPort on CurrentPortName at CurrentBaudRate when it is closed.
// False with the open error in `message` when that fails.
bool EnsureSession(TConnection& connection, std::string& message);

// On the open session: sends the link-speed command (its result is not judged),
// pauses, sets the port to `baudRate` and pauses again.
void SwitchLinkSpeed(TConnection& connection, int baudRate,
                     const TLinkPauses& pauses = kTransferLinkPauses);

// Switches the link back to the operator's speed (CurrentBaudRate) and closes
// the session.
void RestoreLink(TConnection& connection, const TLinkPauses& pauses = kTransferLinkPauses);

} // namespace tavisto
