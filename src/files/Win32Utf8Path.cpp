#include "files/Utf8Path.h"
#include "link/Win32Text.h"

namespace tavisto {

std::filesystem::path PathFromUtf8(std::string_view name) {
    return std::filesystem::path(win32::WideFromUtf8(std::string(name)));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return win32::Utf8FromWide(path.native());
}

} // namespace tavisto
