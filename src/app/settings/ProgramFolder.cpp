#include "app/settings/SettingsWorkflows.h"
#include "files/Utf8Path.h"

#include <cstdlib>
#include <unistd.h>

namespace tavisto {
namespace fs = std::filesystem;

std::string ProgramFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path())
        return Utf8FromPath(program.parent_path());
    const fs::path current = fs::current_path(error);
    return error ? std::string() : Utf8FromPath(current);
}

bool FolderIsWritable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

std::string PersonalFolder() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

} // namespace tavisto
