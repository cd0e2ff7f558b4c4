#include "link/Connection.h"
#include "link/PortAccess.h"
#include "link/Win32SerialPort.h"
#include "link/Win32Text.h"

#include <windows.h>

namespace tavisto {

namespace {

// The DOS device name of a port: "COM3" for "COM3" and for "\\.\COM3".
std::string dosName(const std::string& name) {
    return name.starts_with("\\\\.\\") ? name.substr(4) : name;
}

// Whether the system knows the port's device name (QueryDosDevice), without opening
// it: listing the ports must not open them. A device-interface path ("\\?\...") has
// no DOS name; such a port counts as there unless opening it says otherwise.
bool portExists(const std::string& name) {
    if (name.starts_with("\\\\?\\")) {
        const unsigned long error = link::probePortOpen(name);
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    const std::wstring device = win32::WideFromUtf8(dosName(name));
    wchar_t target[1024];
    if (QueryDosDeviceW(device.c_str(), target, sizeof target / sizeof target[0]) != 0)
        return true;
    // A name whose target does not fit the buffer exists all the same.
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// The errors an open gets when another program holds the port: Windows refuses a
// second open of a communications device with "access denied"; the others are the
// sharing and lock refusals (wine gives the lock one for a line another program holds
// with TIOCEXCL) and a busy device.
bool heldError(unsigned long error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION || error == ERROR_BUSY;
}

} // namespace

// A COM port on Windows is open to every user: there is no group to join, so no port
// is ever denied and there is never a permission line.
PortAccess CheckPortAccess(const std::string& name) {
    PortAccess access;
    access.exists = !name.empty() && portExists(name);
    return access;
}

std::string PortPermissionHint(const std::string&, std::uint16_t) {
    return {};
}

std::string PortMissingHint(const std::string& name, std::uint16_t langId) {
    if (name.empty() || CheckPortAccess(name).exists)
        return {};
    return MissingPortText(name, langId);
}

// Windows names no holder, so `holder` stays empty.
PortUse CheckPortInUse(const std::string& name) {
    PortUse use;
    if (!name.empty())
        use.busy = heldError(link::probePortOpen(name));
    return use;
}

std::string PortInUseHint(const std::string& name, std::uint16_t langId) {
    if (!CheckPortInUse(name).busy)
        return {};
    if (langId == kLangChinese)
        return name + " 正被另一个程序使用：请先在那里关闭它，再试一次。";
    return name + " is in use by another program: close it there, then try again.";
}

std::string WithPortOpenHint(const std::string& message, const std::string& name,
                             std::uint16_t langId) {
    if (message.find(OpenCodeText(link::kOpenFailed, langId)) == std::string::npos)
        return message;
    std::string hint = PortMissingHint(name, langId);
    if (hint.empty())
        hint = PortInUseHint(name, langId);
    return hint.empty() ? message : message + '\n' + hint;
}

} // namespace tavisto
