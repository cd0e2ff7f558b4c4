#pragma once

#include "app/Operator.h"
#include "link/Connection.h"

#include <string>

namespace tavisto {

// A transfer switches the display to 115200 baud and sets it back at the end. When
// the host died in between (killed, the cable pulled), the display stays at 115200
// while its own settings name another speed, and every later command finds it
// there. Called after Connect found the display at `foundBaudRate`: when that is
// 115200 and the display's settings say otherwise, it is switched back to its stored
// speed, the connection follows, and one log line says so. Returns the speed the
// display talks at afterwards.
int RecoverStoredLinkSpeed(TConnection& connection, TOperator& op, int foundBaudRate);

// The log line of a recovery.
std::string LinkRecoveredText(int storedBaudRate);

} // namespace tavisto
