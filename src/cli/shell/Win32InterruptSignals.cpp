#include "cli/shell/InterruptSignals.h"

#include <atomic>
#include <csignal>
#include <windows.h>

namespace tavisto::cli {

namespace {

// Set by the console's control thread and read by any thread.
std::atomic<int> arrived{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Ctrl+C and Ctrl+Break are noted as SIGINT. A closed console window, a log-off or a
// shutdown are noted as SIGTERM; the system ends the program once this handler
// returns from those (after at most about five seconds), so the handler waits that
// long for the transfer to stop at its safe point and set the display back.
BOOL WINAPI noteControl(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        arrived.store(SIGINT);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        arrived.store(SIGTERM);
        ::Sleep(5000);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

InterruptSignals::InterruptSignals() {
    ::SetConsoleCtrlHandler(noteControl, TRUE);
}

InterruptSignals::~InterruptSignals() {
    ::SetConsoleCtrlHandler(noteControl, FALSE);
}

int InterruptSignals::received() {
    return arrived.load();
}

void InterruptSignals::clear() {
    arrived.store(0);
}

} // namespace tavisto::cli
