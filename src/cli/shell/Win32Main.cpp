#include "cli/shell/Cli.h"
#include "link/Win32Text.h"

#include <iostream>
#include <windows.h>

namespace {

// The console tavisto-cli runs in belongs to the shell that started it and outlives
// the program: its code pages (UTF-8 both ways for the run, so that the program's
// UTF-8 texts print as they are) and its screen's mode (StderrRedrawsLines turns on
// escape sequences) are set back at the end. Ctrl+C outside a transfer ends the
// program from the console's control thread; they are set back then too.
struct SavedConsole {
    UINT input = 0; // 0: no console
    UINT output = 0;
    HANDLE screen = nullptr;
    DWORD mode = 0;
    bool hasMode = false;
};
SavedConsole saved; // written before the control handler is registered

void restoreConsole() {
    if (saved.input != 0)
        ::SetConsoleCP(saved.input);
    if (saved.output != 0)
        ::SetConsoleOutputCP(saved.output);
    if (saved.hasMode)
        ::SetConsoleMode(saved.screen, saved.mode);
}

// Called only when no later handler (a transfer's) took the event; the system's own
// handler then ends the program.
BOOL WINAPI restoreOnControl(DWORD) {
    restoreConsole();
    return FALSE;
}

class ConsoleForTheRun {
public:
    ConsoleForTheRun() {
        saved.input = ::GetConsoleCP();
        saved.output = ::GetConsoleOutputCP();
        saved.screen = ::GetStdHandle(STD_ERROR_HANDLE);
        saved.hasMode = ::GetConsoleMode(saved.screen, &saved.mode) != 0;
        ::SetConsoleCtrlHandler(restoreOnControl, TRUE);
        ::SetConsoleCP(CP_UTF8);
        ::SetConsoleOutputCP(CP_UTF8);
    }
    ~ConsoleForTheRun() {
        std::cout.flush();
        std::cerr.flush();
        restoreConsole();
        ::SetConsoleCtrlHandler(restoreOnControl, FALSE);
    }
    ConsoleForTheRun(const ConsoleForTheRun&) = delete;
    ConsoleForTheRun& operator=(const ConsoleForTheRun&) = delete;
};

} // namespace

// The arguments as the system has them, in UTF-16 (main's would be in the ANSI code
// page, which cannot spell every file name); the program takes them as UTF-8.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(tavisto::win32::Utf8FromWide(argv[i]));
    const ConsoleForTheRun console;
    return tavisto::cli::RunCli(args, std::cout, std::cerr, tavisto::cli::SystemEnvironment());
}
