#include "files/FileMessages.h"

namespace tavisto {

namespace {

// The path as UTF-8 on every system (on Windows, path::string() would use the ANSI
// code page, which cannot spell every file name).
std::string displayPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

std::string FileErrorMessage(std::string_view action, const std::filesystem::path& path,
                             std::string_view reason) {
    return "Cannot " + std::string(action) + " file \"" + displayPath(path) + "\". " +
           std::string(reason);
}

std::string NotRegularFileReason(OtherFileKind kind) {
    switch (kind) {
    case OtherFileKind::Folder:
        return "Is a directory";
    case OtherFileKind::NamedPipe:
        return "Not a regular file (a named pipe)";
    case OtherFileKind::Device:
        return "Not a regular file (a device)";
    case OtherFileKind::Socket:
        return "Not a regular file (a socket)";
    case OtherFileKind::Unknown:
        break;
    }
    return "Not a regular file";
}

std::string FileTooLargeMessage(const std::filesystem::path& path, std::string_view kind) {
    return "The file \"" + displayPath(path) + "\" is too large for " + std::string(kind) + ".";
}

} // namespace tavisto
