#include "link/PortAccess.h"

#include "link/Connection.h"
#include "link/PosixSerialPort.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/file.h>
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

// The first process (other than this one, when another is found) with the device
// open, as "name, process N"; empty when none is visible to this user.
std::string deviceHolder(dev_t device) {
    const pid_t self = ::getpid();
    std::string found;
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pidText = process.path().filename().string();
        if (pidText.empty() || pidText.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code fdError;
        for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", fdError)) {
            struct stat info {};
            if (::stat(fd.path().c_str(), &info) != 0 || !S_ISCHR(info.st_mode) ||
                info.st_rdev != device)
                continue;
            std::string command;
            std::getline(std::ifstream(process.path() / "comm"), command);
            const std::string holder =
                (command.empty() ? "" : command + ", ") + "process " + pidText;
            if (std::stol(pidText) != self)
                return holder;
            if (found.empty())
                found = holder;
            break;
        }
    }
    return found;
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

std::string PortMissingHint(const std::string& name, std::uint16_t langId) {
    if (name.empty() || CheckPortAccess(name).exists)
        return {};
    const std::string path = link::devicePath(name);
    return MissingPortText(path, langId);
}

PortUse CheckPortInUse(const std::string& name) {
    PortUse use;
    if (name.empty())
        return use;
    const std::string path = link::devicePath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // Another holder's exclusive-use flag refuses everyone but root.
        use.busy = errno == EBUSY;
    } else {
        use.busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(fd);
    }
    struct stat info {};
    if (use.busy && ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode))
        use.holder = deviceHolder(info.st_rdev);
    return use;
}

std::string PortInUseHint(const std::string& name, std::uint16_t langId) {
    const PortUse use = CheckPortInUse(name);
    if (!use.busy)
        return {};
    const std::string path = link::devicePath(name);
    if (langId == kLangChinese)
        return path + " 正被另一个程序使用" + (use.holder.empty() ? "" : "（" + use.holder + "）") +
               "：请先在那里关闭它，再试一次。";
    return path + " is in use by another program" +
           (use.holder.empty() ? "" : " (" + use.holder + ")") +
           ": close it there, then try again.";
}

std::string WithPortOpenHint(const std::string& message, const std::string& name,
                             std::uint16_t langId) {
    if (message.find(OpenCodeText(link::kOpenFailed, langId)) == std::string::npos)
        return message;
    std::string hint = PortMissingHint(name, langId);
    if (hint.empty())
        hint = PortPermissionHint(name, langId);
    if (hint.empty())
        hint = PortInUseHint(name, langId);
    return hint.empty() ? message : message + '\n' + hint;
}

} // namespace tavisto
