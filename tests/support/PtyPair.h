#pragma once

#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace tavisto::testing {

// A pseudo-terminal whose master side the test holds; the slave path is the
// "serial port" the code under test opens.
class PtyPair {
public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("cannot create a pseudo-terminal");
        slavePath_ = ptsname(master_);
        // Keep the slave open so the master never sees a hang-up between opens.
        keeper_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~PtyPair() {
        if (keeper_ >= 0)
            ::close(keeper_);
        ::close(master_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return master_; }
    const std::string& path() const { return slavePath_; }

    speed_t lineSpeed() const {
        termios tio{};
        tcgetattr(master_, &tio);
        return cfgetospeed(&tio);
    }

    void send(const std::string& bytes) const {
        if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("short write to the pseudo-terminal");
    }

    // Reads what the code under test wrote, waiting up to `ms` for the first byte.
    std::string receive(int ms = 500) const;

private:
    int master_ = -1;
    int keeper_ = -1;
    std::string slavePath_;
};

} // namespace tavisto::testing

#include <poll.h>

inline std::string tavisto::testing::PtyPair::receive(int ms) const {
    std::string out;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, ms) <= 0)
        return out;
    char buffer[8192];
    for (;;) {
        ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
        if (::poll(&p, 1, 20) <= 0)
            break;
    }
    return out;
}

namespace tavisto::testing {

// Writes to the host's end of a line nobody reads (its descriptor is non-blocking)
// until the line takes no more. The line discipline moves bytes between its buffers
// in the background, so the line only counts as full once it has taken nothing for
// a while.
inline void FillLineNobodyReads(int hostFd) {
    const std::string block(4096, 'x');
    for (;;) {
        while (::write(hostFd, block.data(), block.size()) > 0) {
        }
        pollfd p{hostFd, POLLOUT, 0};
        if (::poll(&p, 1, 300) == 0)
            break;
    }
}

} // namespace tavisto::testing
