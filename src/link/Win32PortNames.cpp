#include "link/Connection.h"
#include "link/Win32Ports.h"
#include "link/Win32Text.h"

#include <windows.h>

namespace tavisto {

namespace {

constexpr const char* kListError = "Error opening registry key for serial port list";

} // namespace

bool EnumPortsInKey(HKEY root, const std::wstring& subKey, std::vector<std::string>& list,
                    std::string& message) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        message = kListError;
        return false;
    }
    std::vector<std::string> found;
    LONG result = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        // Room for a 256-byte value and the terminating null the registry may leave off.
        wchar_t data[256 / sizeof(wchar_t) + 1] = {};
        DWORD dataBytes = 256;
        DWORD type = 0;
        result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                               reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result != ERROR_SUCCESS)
            break;
        // The port name runs up to its terminating null.
        found.push_back(win32::Utf8FromWide(std::wstring(data)));
    }
    RegCloseKey(key);
    if (result != ERROR_NO_MORE_ITEMS) {
        message = kListError;
        return false;
    }
    return ListSortedPorts(std::move(found), list, message);
}

bool EnumPorts(std::vector<std::string>& list, std::string& message) {
    return EnumPortsInKey(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", list, message);
}

} // namespace tavisto
