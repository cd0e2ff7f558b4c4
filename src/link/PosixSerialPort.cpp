#include "link/PosixSerialPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace tavisto::link {

namespace {

constexpr const char* kReadFailed = "Failed to read data";

// A device by its identity, whatever name it was opened by.
struct DeviceId {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const DeviceId&) const = default;
};

DeviceId deviceOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {};
    return {info.st_dev, info.st_ino};
}

// The devices this process holds by a lock, each with whether one of its opens is out.
std::mutex heldMutex;
std::map<DeviceId, bool> held;

// Lends the lock this process holds on the device of `fd` to one open at a time.
bool borrowHeldLock(int fd, DeviceId& id) {
    id = deviceOf(fd);
    const std::lock_guard<std::mutex> guard(heldMutex);
    const auto found = held.find(id);
    if (found == held.end() || found->second)
        return false;
    found->second = true;
    return true;
}

void returnHeldLock(DeviceId id) {
    const std::lock_guard<std::mutex> guard(heldMutex);
    const auto found = held.find(id);
    if (found != held.end())
        found->second = false;
}

class PosixPortLock final : public PortLock {
public:
    PosixPortLock(int fd, DeviceId id) : fd_(fd), id_(id) {}
    ~PosixPortLock() override {
        {
            const std::lock_guard<std::mutex> guard(heldMutex);
            held.erase(id_);
        }
        flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    PosixPortLock(const PosixPortLock&) = delete;
    PosixPortLock& operator=(const PosixPortLock&) = delete;

private:
    int fd_;
    DeviceId id_;
};

speed_t speedConstant(int baudRate) {
    switch (baudRate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 500000:
        return B500000;
    case 576000:
        return B576000;
    case 921600:
        return B921600;
    case 1000000:
        return B1000000;
    case 1152000:
        return B1152000;
    case 1500000:
        return B1500000;
    case 2000000:
        return B2000000;
    default:
        return B0;
    }
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

bool configureLine(int fd, int baudRate) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    // Raw bytes both ways: the protocol is binary, so no character is special.
    // Software flow control is switched off for the same reason (an XOFF byte in a
    // picture would stop the line); hardware flow control stays as the driver has it.
    tio.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    bool speedOk = true;
    if (speed_t speed = speedConstant(baudRate); speed != B0) {
        cfsetispeed(&tio, speed);
        cfsetospeed(&tio, speed);
    } else {
        speedOk = false;
    }
    return tcsetattr(fd, TCSANOW, &tio) == 0 && speedOk;
}

std::string devicePath(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.front() == '.')
        return name;
    return "/dev/" + name;
}

PosixSerialPort::PosixSerialPort(int fd, std::function<void()> onClose)
    : fd_(fd), onClose_(std::move(onClose)) {}

PosixSerialPort::~PosixSerialPort() {
    if (fd_ >= 0) {
        // The exclusive flag outlives this descriptor when another one holds the
        // line open (a virtual display keeps its side open), so clear it first.
        ioctl(fd_, TIOCNXCL);
        flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    if (onClose_)
        onClose_();
}

bool PosixSerialPort::write(const Bytes& data, std::string& message) {
    // The line gets 1000 ms plus 100 ms per byte, as a stalled UART would be given.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000) +
                          std::chrono::milliseconds(100) * data.size();
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            message = "1: " + std::to_string(errno);
            return false;
        }
        int left = remainingMs(deadline);
        if (left == 0) {
            // What the line still holds is part of a frame the other side will never
            // complete; dropping it also keeps the close from waiting for the line.
            tcflush(fd_, TCOFLUSH);
            message = "3: " + std::to_string(ETIMEDOUT);
            return false;
        }
        pollfd p{fd_, POLLOUT, 0};
        int r = ::poll(&p, 1, left);
        if (r < 0 && errno != EINTR) {
            message = "3: " + std::to_string(errno);
            return false;
        }
        if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) {
            message = "3: " + std::to_string(EIO);
            return false;
        }
    }
    message = "OK";
    return true;
}

bool PosixSerialPort::read(Bytes& out, std::string& message) {
    message = kReadFailed;
    out.clear();
    char buffer[kReadChunk];
    ssize_t n;
    do {
        n = ::read(fd_, buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    if (n <= 0)
        return false;
    out.assign(buffer, static_cast<std::size_t>(n));
    message = "OK";
    return true;
}

bool PosixSerialPort::setBaudRate(int baudRate) {
    return configureLine(fd_, baudRate);
}

bool PosixSerialPort::waitForInput(Millis timeout) {
    pollfd p{fd_, POLLIN, 0};
    int r;
    do {
        r = ::poll(&p, 1, static_cast<int>(timeout.count()));
    } while (r < 0 && errno == EINTR);
    return r > 0;
}

void PosixSerialPort::purgeInput() {
    tcflush(fd_, TCIFLUSH);
}

std::optional<std::size_t> PosixSerialPort::outputPending() {
    int queued = 0;
    if (ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued < 0)
        return std::nullopt;
    return static_cast<std::size_t>(queued);
}

bool PosixSerialPort::hungUp() {
    pollfd p{fd_, 0, 0};
    int r;
    do {
        r = ::poll(&p, 1, 0);
    } while (r < 0 && errno == EINTR);
    return r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

int PosixPortOpener::open(const std::string& name, int baudRate, PortHandle& port) {
    if (name.empty())
        return kOpenFailed;
    int fd = ::open(devicePath(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return kOpenFailed;
    // Exclusive use: TIOCEXCL keeps other (unprivileged) programs out, and the
    // advisory lock also catches root and a second open from this process. A device
    // this process holds a lock on (PosixPortOpener::lock) is opened under that lock.
    std::function<void()> onClose;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        DeviceId id;
        if (errno != EWOULDBLOCK || !borrowHeldLock(fd, id)) {
            ::close(fd);
            return kOpenFailed;
        }
        onClose = [id] {
            returnHeldLock(id);
        };
    }
    termios probe{};
    if (tcgetattr(fd, &probe) != 0) {
        flock(fd, LOCK_UN);
        ::close(fd);
        if (onClose)
            onClose();
        return kOpenSetupFailed;
    }
    ioctl(fd, TIOCEXCL);
    // As on the original line, the result of applying the settings is not checked:
    // an unusual speed leaves the port open at the speed it had.
    configureLine(fd, baudRate);
    port = std::make_unique<PosixSerialPort>(fd, std::move(onClose));
    return kOpenOk;
}

int PosixPortOpener::lock(const std::string& name, PortLockHandle& lock) {
    if (name.empty())
        return kOpenFailed;
    // Opening the device sends nothing; another program's exclusive-use flag refuses it.
    const int fd = ::open(devicePath(name).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return kOpenFailed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return kOpenFailed;
    }
    const DeviceId id = deviceOf(fd);
    {
        const std::lock_guard<std::mutex> guard(heldMutex);
        held[id] = false;
    }
    lock = std::make_unique<PosixPortLock>(fd, id);
    return kOpenOk;
}

PortOpener& posixPortOpener() {
    static PosixPortOpener opener;
    return opener;
}

PortOpener& systemPortOpener() {
    return posixPortOpener();
}

} // namespace tavisto::link
