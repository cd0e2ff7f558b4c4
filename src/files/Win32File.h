#pragma once

#include "files/FileMessages.h"

#include <windows.h>

namespace tavisto::win32 {

// Owns a file handle and closes it when it goes out of scope.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~UniqueHandle() {
        if (valid())
            CloseHandle(handle_);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // Closes now; returns 0 or the error of the failed close.
    DWORD close() {
        const DWORD result = CloseHandle(handle_) ? 0 : GetLastError();
        handle_ = INVALID_HANDLE_VALUE;
        return result;
    }

private:
    HANDLE handle_;
};

// What an open handle is when it is not a file on a disk.
inline OtherFileKind KindOfHandle(HANDLE handle) {
    switch (GetFileType(handle)) {
    case FILE_TYPE_PIPE:
        return OtherFileKind::NamedPipe;
    case FILE_TYPE_CHAR:
        return OtherFileKind::Device;
    default:
        return OtherFileKind::Unknown;
    }
}

} // namespace tavisto::win32
