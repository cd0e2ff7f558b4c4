#include "link/DebugOutput.h"
#include "link/Win32Text.h"

#include <windows.h>

namespace tavisto {

Trace::Sink DebugOutputSink() {
    // One call per line, so that a viewer shows each as an entry of its own; the line
    // break keeps the lines apart in a debugger's output, which runs them together.
    return [](const std::string& line) {
        OutputDebugStringW(win32::WideFromUtf8(line + '\n').c_str());
    };
}

} // namespace tavisto
