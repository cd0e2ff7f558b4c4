#pragma once

#include "files/FileMessages.h"

#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tavisto::posix {

// Owns a file descriptor and closes it when it goes out of scope.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; returns 0 or the errno of the failed close, which can be the first
    // report of a write that did not reach the disk.
    int close() {
        const int result = ::close(fd_) == 0 ? 0 : errno;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

inline std::string SystemReason(int error) {
    return std::strerror(error);
}

inline OtherFileKind KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return OtherFileKind::Folder;
    if (S_ISFIFO(mode))
        return OtherFileKind::NamedPipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return OtherFileKind::Device;
    if (S_ISSOCK(mode))
        return OtherFileKind::Socket;
    return OtherFileKind::Unknown;
}

} // namespace tavisto::posix
