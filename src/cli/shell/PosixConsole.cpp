#include "cli/shell/Console.h"

#include <unistd.h>

namespace tavisto::cli {

bool StdinIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

bool StderrRedrawsLines() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace tavisto::cli
