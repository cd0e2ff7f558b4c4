#include "files/FileWrite.h"
#include "files/Win32File.h"
#include "link/Win32Text.h"

namespace tavisto {
namespace fs = std::filesystem;
using win32::SystemMessage;
using win32::UniqueHandle;

namespace {

bool fail(std::string& message, const char* action, const fs::path& path, DWORD error) {
    message = FileErrorMessage(action, path, SystemMessage(error));
    return false;
}

bool writeAll(HANDLE file, const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD piece =
            static_cast<DWORD>(bytes.size() - done < (1u << 30) ? bytes.size() - done : (1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, piece, &written, nullptr))
            return false;
        done += written;
    }
    return true;
}

// Removes the temporary file unless the save got as far as moving it into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void keep() { path_.clear(); }

private:
    std::wstring path_;
};

// Overwrites an existing file where it is, for when no new file can be made beside it
// (a folder this user may not write) or the file has other hard links that a
// replacement would cut off. The new length is reserved first, so a full disk is found
// before the old content is touched.
bool writeInPlace(const fs::path& path, const Bytes& bytes, std::string& message) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return fail(message, "write", path, GetLastError());
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    LARGE_INTEGER wanted{};
    wanted.QuadPart = static_cast<LONGLONG>(bytes.size());
    if (wanted.QuadPart > size.QuadPart &&
        (!SetFilePointerEx(file.get(), wanted, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get())))
        return fail(message, "write", path, GetLastError());
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) || !writeAll(file.get(), bytes) ||
        !SetEndOfFile(file.get()) || !FlushFileBuffers(file.get()))
        return fail(message, "write", path, GetLastError());
    if (const DWORD error = file.close())
        return fail(message, "write", path, error);
    message = "OK";
    return true;
}

} // namespace

bool SaveFile(const fs::path& path, const Bytes& bytes, std::string& message) {
    WIN32_FILE_ATTRIBUTE_DATA existing{};
    const bool exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &existing);
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return fail(message, "write", path, GetLastError());
    if (exists) {
        if (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            message = FileErrorMessage("write", path, NotRegularFileReason(OtherFileKind::Folder));
            return false;
        }
        // A read-only file stays as it is: Windows itself refuses to write to one.
        if (existing.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            return fail(message, "write", path, ERROR_ACCESS_DENIED);
        UniqueHandle probe(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe.valid())
            return fail(message, "write", path, GetLastError());
        if (GetFileType(probe.get()) != FILE_TYPE_DISK) {
            message = FileErrorMessage("write", path,
                                       NotRegularFileReason(win32::KindOfHandle(probe.get())));
            return false;
        }
        BY_HANDLE_FILE_INFORMATION information{};
        if (GetFileInformationByHandle(probe.get(), &information) &&
            information.nNumberOfLinks > 1) {
            probe.close();
            return writeInPlace(path, bytes, message);
        }
    }

    // A new file beside the target, complete and flushed, then moved over it.
    fs::path folder = fs::absolute(path).parent_path();
    wchar_t temporaryName[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder.c_str(), L"tav", 0, temporaryName)) {
        const DWORD error = GetLastError();
        if (exists && error == ERROR_ACCESS_DENIED)
            return writeInPlace(path, bytes, message);
        return fail(message, "create", path, error);
    }
    TemporaryFile temporary(temporaryName);
    {
        UniqueHandle file(CreateFileW(temporaryName, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return fail(message, "create", path, GetLastError());
        if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get()))
            return fail(message, "write", path, GetLastError());
        if (const DWORD error = file.close())
            return fail(message, "write", path, error);
    }
    if (exists) {
        // ReplaceFile keeps the old file's attributes, security and creation time;
        // the attributes are copied first as well, for file systems that do not.
        SetFileAttributesW(temporaryName, existing.dwFileAttributes);
        if (!ReplaceFileW(path.c_str(), temporaryName, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                          nullptr, nullptr))
            return fail(message, "write", path, GetLastError());
    } else if (!MoveFileExW(temporaryName, path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return fail(message, "create", path, GetLastError());
    }
    temporary.keep();
    message = "OK";
    return true;
}

} // namespace tavisto
