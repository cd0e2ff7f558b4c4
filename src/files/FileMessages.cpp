#include "files/FileMessages.h"

#include "files/Utf8Path.h"

namespace tavisto {

std::string FileErrorMessage(std::string_view action, const std::filesystem::path& path,
                             std::string_view reason) {
    return "Cannot " + std::string(action) + " file \"" + Utf8FromPath(path) + "\". " +
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
    return "The file \"" + Utf8FromPath(path) + "\" is too large for " + std::string(kind) + ".";
}

} // namespace tavisto
