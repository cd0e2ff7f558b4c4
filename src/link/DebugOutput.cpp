#include "link/DebugOutput.h"

namespace tavisto {

Trace::Sink DebugOutputSink() {
    return Trace::toStandardError();
}

} // namespace tavisto
