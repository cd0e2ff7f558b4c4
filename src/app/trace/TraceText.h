#pragma once

#include "link/Trace.h"

#include <string>

namespace tavisto {

// A traced frame as a person reads it: the local time to the millisecond, the
// direction, the bytes in hex with spaces and the printable ASCII between bars
// ("." for any other byte):
//
//   14:03:07.125  sent      02 07 16 01  |....|
//   14:03:07.212  received  4B 54 33 35 30 2D 4D 4B 00  |KT350-MK.|
//
// A line that is not a frame ("----> " or "<---- " and hex) follows the time as it is.
// The trace window shows these lines and saves them; `tavisto-cli --trace-file`
// writes them.
std::string ReadableTraceLine(const TraceEntry& entry);

} // namespace tavisto
