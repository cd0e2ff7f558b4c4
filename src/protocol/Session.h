#pragma once

#include "link/Connection.h"
#include "protocol/ModelTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace tavisto {

// Asks for the model name (02 07 16 01). Returns 0..6 with "OK", or -1 with the
// message "Not found Device : Time out !", "Unknown model !" or the port-open error.
// Opens the session when needed and always closes it.
int LcdIdentifyModel(TConnection& connection, std::string& message);

// Needs an open session, which it leaves open. "OK" on a known model; fails at
// once with "Failed to read data" when a read finds nothing.
bool LcdProbeModel(TConnection& connection, std::string& message);

// Probes up to 51 times, 100 ms apart, until the display answers. Without
// `keepSession` it opens the session when needed and closes it at the end; with
// it the caller's open session is used and left open.
bool LcdWaitReady(TConnection& connection, std::string& message, bool keepSession = false);

// The firmware version (02 07 16 02): the reply bytes as one big-endian number,
// kept to 32 bits; 0 with "Read Version Error !" when nothing arrived.
std::uint32_t LcdReadVersion(TConnection& connection, std::string& message);

// The display's settings text (02 07 16 05), decoded from ISO-8859-1 into UTF-8,
// including the final NUL; empty on failure with the message saying why.
void LcdGetConfiguration(TConnection& connection, std::string& message, std::string& configuration);

} // namespace tavisto
