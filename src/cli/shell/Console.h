#pragma once

namespace tavisto::cli {

// What tavisto-cli's standard streams are connected to. The system calls sit in
// PosixConsole.cpp (isatty), or Win32Console.cpp (console modes) on Windows.

// Whether standard input is a terminal an operator can answer on.
bool StdinIsTerminal();

// Whether standard error is a terminal on which progress lines can be redrawn in place
// with "\r" and the escape sequences for erasing a line and moving up. A Windows
// console is asked to process those sequences first; one that cannot (before
// Windows 10) gets plain lines, as a file or a pipe does.
bool StderrRedrawsLines();

} // namespace tavisto::cli
