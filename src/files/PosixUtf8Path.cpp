#include "files/Utf8Path.h"

namespace tavisto {

std::filesystem::path PathFromUtf8(std::string_view name) {
    return std::filesystem::path(std::string(name));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.native();
}

} // namespace tavisto
