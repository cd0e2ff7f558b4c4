#include "app/settings/SettingsWorkflows.h"
#include "files/Utf8Path.h"
#include "link/Win32Text.h"

#include <windows.h>
// The folder ids need the Windows types declared first.
#include <knownfolders.h>
#include <shlobj.h>

namespace tavisto {

std::string ProgramFolder() {
    // The module's name can be longer than MAX_PATH (a \\?\ path); the buffer grows
    // until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            break;
        if (length < name.size()) {
            name.resize(length);
            const std::filesystem::path program(name);
            if (program.has_parent_path())
                return Utf8FromPath(program.parent_path());
            break;
        }
        name.resize(name.size() * 2);
    }
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string() : Utf8FromPath(current);
}

bool FolderIsWritable(const std::string& folder) {
    // The read-only attribute says nothing about a folder such as Program Files, whose
    // access list keeps users out: only creating a file there tells. The file is made
    // and removed at once.
    const std::wstring wide = PathFromUtf8(folder).native();
    wchar_t probe[MAX_PATH];
    if (wide.size() >= MAX_PATH - 14 || GetTempFileNameW(wide.c_str(), L"tav", 0, probe) == 0)
        return false;
    DeleteFileW(probe);
    return true;
}

std::string PersonalFolder() {
    wchar_t* folder = nullptr;
    std::string found;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        found = win32::Utf8FromWide(folder);
    CoTaskMemFree(folder);
    return found;
}

} // namespace tavisto
