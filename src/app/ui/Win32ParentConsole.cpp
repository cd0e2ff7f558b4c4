#include "app/ui/ParentConsole.h"

#include <cstdio>
#include <windows.h>

namespace tavisto::ui {

namespace {

// A stream the caller redirected to a file or a pipe is kept as it is.
bool redirected(DWORD stream) {
    const DWORD type = GetFileType(GetStdHandle(stream));
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

} // namespace

void UseParentConsole() {
    const bool output = !redirected(STD_OUTPUT_HANDLE);
    const bool error = !redirected(STD_ERROR_HANDLE);
    if ((!output && !error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (output)
        std::freopen("CONOUT$", "w", stdout);
    if (error)
        std::freopen("CONOUT$", "w", stderr);
}

} // namespace tavisto::ui
