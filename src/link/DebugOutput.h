#pragma once

#include "link/Trace.h"

namespace tavisto {

// A trace sink on the system's channel for a program's debug output: standard error on
// POSIX (DebugOutput.cpp); OutputDebugStringW on Windows (Win32DebugOutput.cpp), where
// a window program has no standard error and a debugger or DebugView shows the lines.
Trace::Sink DebugOutputSink();

} // namespace tavisto
