#include "link/PortAccess.h"

#include "link/Connection.h"
#include "link/PosixSerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavisto {

namespace {

std::string groupName(gid_t gid) {
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 4096);
    group entry{};
    group* found = nullptr;
    while (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    return found ? std::string(found->gr_name) : std::to_string(gid);
}

} // namespace

PortAccess CheckPortAccess(const std::string& name) {
    PortAccess access;
    if (name.empty())
        return access;
    const std::string path = link::devicePath(name);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return access;
    access.exists = true;
    access.group = groupName(info.st_gid);
    // The effective ids decide what open() allows, so ask with those.
    access.denied =
        ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) != 0 && errno == EACCES;
    return access;
}

std::string PortPermissionHint(const std::string& name, std::uint16_t langId) {
    const PortAccess access = CheckPortAccess(name);
    if (!access.denied)
        return {};
    const std::string path = link::devicePath(name);
    const std::string fix = "sudo usermod -aG " + access.group + " $USER";
    if (langId == kLangChinese)
        return "没有权限打开 " + path + "（属于 " + access.group + " 组）：请运行 " + fix +
               "，然后重新登录。";
    return "No permission to open " + path + " (group " + access.group + "): run " + fix +
           ", then log in again.";
}

std::string WithPortPermissionHint(const std::string& message, const std::string& name,
                                   std::uint16_t langId) {
    if (message.find(OpenCodeText(link::kOpenFailed, langId)) == std::string::npos)
        return message;
    const std::string hint = PortPermissionHint(name, langId);
    return hint.empty() ? message : message + '\n' + hint;
}

} // namespace tavisto
