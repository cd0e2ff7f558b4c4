#pragma once

namespace tavisto::ui {

// Makes the window program's standard output and error reach the terminal it was
// started from, for the texts it prints instead of opening (--help, --version, a bad
// option) just before it ends. A POSIX program has them already (ParentConsole.cpp);
// a Windows window program has none, and attaches to the console of the shell that
// started it when there is one (Win32ParentConsole.cpp). Only then: attached for the
// whole run, the window would end with that console's Ctrl+C.
void UseParentConsole();

} // namespace tavisto::ui
