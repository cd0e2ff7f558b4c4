#include "tests/support/Unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavisto::testing {

Unprivileged::Unprivileged() : uid_(::geteuid()), gid_(::getegid()) {
    if (uid_ != 0)
        return;
    separate_ = true;
    const passwd* nobody = ::getpwnam("nobody");
    available_ = nobody != nullptr && nobody->pw_uid != 0;
    if (available_) {
        uid_ = nobody->pw_uid;
        gid_ = nobody->pw_gid;
    }
}

void Unprivileged::own(const std::filesystem::path& path) const {
    if (separate_ && ::lchown(path.c_str(), uid_, gid_) != 0)
        throw std::filesystem::filesystem_error("cannot give the file away", path,
                                                std::error_code(errno, std::generic_category()));
}

std::string Unprivileged::run(const std::function<std::string()>& action) const {
    if (!separate_)
        return action();
    int channel[2];
    if (::pipe(channel) != 0)
        return "child: no pipe";
    const pid_t child = ::fork();
    if (child < 0)
        return "child: no fork";
    if (child == 0) {
        ::close(channel[0]);
        std::string result = "child: cannot change user";
        if (::setgroups(0, nullptr) == 0 && ::setgid(gid_) == 0 && ::setuid(uid_) == 0) {
            try {
                result = action();
            } catch (const std::exception& e) {
                result = std::string("child: ") + e.what();
            }
        }
        const char* data = result.data();
        std::size_t left = result.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], data, left);
            if (written <= 0)
                break;
            data += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0); // no test framework clean-up in the child
    }
    ::close(channel[1]);
    std::string result;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child: ended abnormally";
    return result;
}

} // namespace tavisto::testing
