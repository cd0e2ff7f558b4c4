#pragma once

namespace tavisto::cli {

// While one lives, SIGINT, SIGTERM and SIGHUP do not end the program: they are only
// noted, so that a transfer can stop at a safe point and set the display back to its
// speed first. The earlier handlers come back when it goes.
class InterruptSignals {
public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;

    // The signal that arrived, or 0.
    static int received();
    // Forgets an arrival (for the next command run in the same process).
    static void clear();
};

} // namespace tavisto::cli
