#include "sim/PtyLine.h"

#include "sim/LineSpeed.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0) {
        error = errorText(name);
        close();
        return false;
    }
    // Raw until the host configures the line: with echo on, the display's replies
    // would come straight back to it as input.
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tcsetattr(slave_, TCSANOW, &tio);
    }
    // Watch after our own open, so that every event counted is the host's.
    watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch_ >= 0 && inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE) < 0)
        closeFd(watch_);
    hostOpens_ = 0;
    return true;
}

void PtyLine::close() {
    if (!link_.empty()) {
        ::unlink(link_.c_str());
        link_.clear();
    }
    closeFd(watch_);
    closeFd(slave_);
    closeFd(master_);
    slavePath_.clear();
    hostOpens_ = 0;
}

int PtyLine::hostBaudRate() const {
    return slave_ < 0 ? -1 : lineSpeedOf(slave_);
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
    return n;
}

PtyLine::Attachment PtyLine::updateAttachment() {
    Attachment seen;
    if (watch_ < 0)
        return seen;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        ssize_t n = ::read(watch_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (char* p = buffer; p < buffer + n;) {
            auto* event = reinterpret_cast<inotify_event*>(p);
            p += sizeof(inotify_event) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                // Count lost: stop judging attachment rather than guess.
                closeFd(watch_);
                return seen;
            }
            if (event->mask & IN_OPEN) {
                ++hostOpens_;
                ++seen.opened;
            }
            if ((event->mask & IN_CLOSE) && hostOpens_ > 0) {
                ++seen.closed;
                if (--hostOpens_ == 0)
                    seen.discarded += discardUnread();
            }
        }
    }
    return seen;
}

// The host let go of the port: what it did not read is gone, as on a real port.
// Everything queued was written before the close was seen, since replies are only
// written after the notifications are taken in. Reading (rather than flushing) also
// catches bytes the kernel has not yet moved into the slave's queue: a read waits for
// that move. A stale exclusive-use flag (from a host that died) goes too.
std::size_t PtyLine::discardUnread() {
    std::size_t discarded = 0;
    char scrap[4096];
    ssize_t n;
    while ((n = ::read(slave_, scrap, sizeof scrap)) > 0)
        discarded += static_cast<std::size_t>(n);
    ioctl(slave_, TIOCNXCL);
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
