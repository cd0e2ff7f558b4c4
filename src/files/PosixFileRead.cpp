#include "files/FileRead.h"
#include "files/PosixFile.h"

#include <cerrno>
#include <fcntl.h>

namespace tavisto {
namespace fs = std::filesystem;
using posix::UniqueFd;

namespace {

// Why `info` does not describe a readable file within the limit; empty when it does.
std::string refusal(const fs::path& path, const struct stat& info, const FileSizeLimit& limit) {
    if (!S_ISREG(info.st_mode))
        return FileErrorMessage("open", path, NotRegularFileReason(posix::KindOf(info.st_mode)));
    if (static_cast<std::uintmax_t>(info.st_size) > limit.bytes)
        return FileTooLargeMessage(path, limit.kind);
    return {};
}

} // namespace

bool ReadFileBounded(const fs::path& path, const FileSizeLimit& limit, Bytes& bytes,
                     std::string& message) {
    // The type is checked before opening, so that opening has no effect on a device
    // (a serial line raising its control lines), and again on what was opened, in case
    // the name was given to something else in between. Opening without blocking keeps
    // a named pipe with no writer from stopping the program there.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        message = FileErrorMessage("open", path, posix::SystemReason(errno));
        return false;
    }
    if (message = refusal(path, info, limit); !message.empty())
        return false;
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid() || ::fstat(file.get(), &info) != 0) {
        message = FileErrorMessage("open", path, posix::SystemReason(errno));
        return false;
    }
    if (message = refusal(path, info, limit); !message.empty())
        return false;
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);

    Bytes content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            message = FileErrorMessage("read", path, posix::SystemReason(errno));
            return false;
        }
        if (got == 0)
            break;
        // The file can grow while it is read.
        if (static_cast<std::size_t>(got) > limit.bytes - content.size()) {
            message = FileTooLargeMessage(path, limit.kind);
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
    bytes = std::move(content);
    message = "OK";
    return true;
}

} // namespace tavisto
