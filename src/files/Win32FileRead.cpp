#include "files/FileRead.h"
#include "files/Win32File.h"
#include "link/Win32Text.h"

namespace tavisto {
namespace fs = std::filesystem;
using win32::SystemMessage;
using win32::UniqueHandle;

bool ReadFileBounded(const fs::path& path, const FileSizeLimit& limit, Bytes& bytes,
                     std::string& message) {
    // A folder is refused by its attributes before anything is opened; what is
    // opened is refused unless it is a file on a disk (a named pipe, a console or a
    // port could block for ever or never end) or when it is above the limit.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) {
        message = FileErrorMessage("open", path, SystemMessage(GetLastError()));
        return false;
    }
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        message = FileErrorMessage("open", path, NotRegularFileReason(OtherFileKind::Folder));
        return false;
    }
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        message = FileErrorMessage("open", path, SystemMessage(GetLastError()));
        return false;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        message =
            FileErrorMessage("open", path, NotRegularFileReason(win32::KindOfHandle(file.get())));
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        message = FileErrorMessage("read", path, SystemMessage(GetLastError()));
        return false;
    }
    if (static_cast<std::uintmax_t>(size.QuadPart) > limit.bytes) {
        message = FileTooLargeMessage(path, limit.kind);
        return false;
    }

    Bytes content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            message = FileErrorMessage("read", path, SystemMessage(GetLastError()));
            return false;
        }
        if (got == 0)
            break;
        // The file can grow while it is read.
        if (got > limit.bytes - content.size()) {
            message = FileTooLargeMessage(path, limit.kind);
            return false;
        }
        content.append(buffer, got);
    }
    bytes = std::move(content);
    message = "OK";
    return true;
}

} // namespace tavisto
