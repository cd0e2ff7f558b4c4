#include "sim/line/PtyLine.h"

#include "sim/line/LineSpeed.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tavisto::sim {

namespace {

std::string errorText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

PtyLine::~PtyLine() {
    close();
}

bool PtyLine::open(std::string& error) {
    close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) {
        error = errorText("posix_openpt");
        return false;
    }
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof name) != 0) {
        error = errorText("pseudo-terminal setup");
        close();
        return false;
    }
    slavePath_ = name;
    // Raw until the host configures the line: with echo on, the display's replies
    // would come straight back to it as input. The settings stay with the slave
    // while the master is open.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0) {
        error = errorText(name);
        close();
        return false;
    }
    termios tio{};
    if (tcgetattr(slave, &tio) == 0) {
        cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tcsetattr(slave, TCSANOW, &tio);
    }
    ::close(slave);
    watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && inotify_add_watch(watch_, name, IN_OPEN) < 0)
        closeFd(watch_);
    attached_ = false;
    return true;
}

void PtyLine::close() {
    if (!link_.empty()) {
        ::unlink(link_.c_str());
        link_.clear();
    }
    closeFd(watch_);
    closeFd(master_);
    slavePath_.clear();
    attached_ = false;
}

int PtyLine::hostBaudRate() const {
    // Terminal settings asked of a pty master are those of its slave.
    return master_ < 0 ? -1 : lineSpeedOf(master_);
}

bool PtyLine::hostFraming(Framing& framing, ErrorHandling& errors) const {
    return framingOf(master_, framing, errors);
}

bool PtyLine::hostAttached() const {
    if (master_ < 0)
        return false;
    pollfd fd{master_, 0, 0};
    return ::poll(&fd, 1, 0) >= 0 && (fd.revents & POLLHUP) == 0;
}

ssize_t PtyLine::read(char* buffer, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(master_, buffer, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EIO))
        return 0;
    return n;
}

ssize_t PtyLine::write(const char* data, std::size_t size) {
    ssize_t n;
    do {
        n = ::write(master_, data, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return 0;
    // The host closed the port while the bytes were under way: they are lost.
    if (n < 0 && errno == EIO)
        return static_cast<ssize_t>(size);
    return n;
}

PtyLine::Attachment PtyLine::updateAttachment() {
    if (watch_ >= 0) {
        alignas(inotify_event) char buffer[4096];
        while (::read(watch_, buffer, sizeof buffer) > 0) {
        }
    }
    Attachment seen;
    const bool attached = hostAttached();
    if (attached == attached_)
        return seen;
    attached_ = attached;
    seen.opened = attached;
    seen.closed = !attached;
    if (!attached)
        seen.discarded = clearAfterHost();
    return seen;
}

// The host let go of the port. The kernel dropped what it had not read, but bytes
// still on their way into the slave's queue at the close arrive after it: reading
// them here (a read waits for that move) keeps them from the next host. A stale
// exclusive-use flag goes too; it stays with the slave while the master is open.
// When a new host holds the port exclusively already, the open is refused and
// there is nothing to clear.
std::size_t PtyLine::clearAfterHost() {
    const int slave = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0)
        return 0;
    std::size_t discarded = 0;
    char scrap[4096];
    ssize_t n;
    while ((n = ::read(slave, scrap, sizeof scrap)) > 0)
        discarded += static_cast<std::size_t>(n);
    ioctl(slave, TIOCNXCL);
    ::close(slave);
    return discarded;
}

bool PtyLine::createLink(const std::string& path, std::string& error) {
    // An old link (from a run that did not end cleanly) is replaced; anything else
    // at that path is left alone.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = path + ": exists and is not a symbolic link";
            return false;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(slavePath_.c_str(), path.c_str()) != 0) {
        error = errorText(path.c_str());
        return false;
    }
    link_ = path;
    return true;
}

} // namespace tavisto::sim
