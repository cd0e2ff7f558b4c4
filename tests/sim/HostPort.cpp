#include "HostPort.h"

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tavisto::sim::test {

namespace {

speed_t speedOf(int baudRate) {
    switch (baudRate) {
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
    default:
        throw std::invalid_argument("speed");
    }
}

} // namespace

HostPort::HostPort(const std::string& path, int baudRate) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return;
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    ioctl(fd_, TIOCEXCL);
    setSpeed(baudRate);
}

HostPort::~HostPort() {
    if (fd_ >= 0) {
        ioctl(fd_, TIOCNXCL);
        flock(fd_, LOCK_UN);
        ::close(fd_);
    }
}

void HostPort::setSpeed(int baudRate) {
    termios tio{};
    tcgetattr(fd_, &tio);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speedOf(baudRate));
    cfsetospeed(&tio, speedOf(baudRate));
    tcsetattr(fd_, TCSANOW, &tio);
}

void HostPort::setFraming(int dataBits, char parity, int stopBits, bool checkParity,
                          bool ignoreDamaged) {
    termios tio{};
    tcgetattr(fd_, &tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    tio.c_cflag |= dataBits == 5 ? CS5 : dataBits == 6 ? CS6 : dataBits == 7 ? CS7 : CS8;
    if (parity != 'N')
        tio.c_cflag |= PARENB | (parity == 'O' ? PARODD : 0);
    if (stopBits == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | IGNPAR | PARMRK | ISTRIP);
    tio.c_iflag |= (checkParity ? INPCK : 0) | (ignoreDamaged ? IGNPAR : 0);
    tcsetattr(fd_, TCSANOW, &tio);
}

void HostPort::send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

Bytes HostPort::readCount(std::size_t count, Millis limit) {
    Bytes out;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (out.size() < count) {
        auto left = std::chrono::duration_cast<Millis>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - out.size()));
        if (n > 0)
            out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

Bytes HostPort::readUntil(char last, Millis limit) {
    Bytes out;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (out.empty() || out.back() != last) {
        auto left = std::chrono::duration_cast<Millis>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char c;
        if (::read(fd_, &c, 1) == 1)
            out += c;
    }
    return out;
}

Bytes HostPort::readFor(Millis window) {
    Bytes out;
    const auto end = std::chrono::steady_clock::now() + window;
    for (;;) {
        auto left = std::chrono::duration_cast<Millis>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

Bytes hex(const std::string& text) {
    Bytes out;
    std::string digits;
    for (char c : text) {
        if (c != ' ')
            digits += c;
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return out;
}

std::string latin1ToUtf8(const Bytes& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::uint16_t testCrc(const Bytes& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (unsigned char byte : bytes) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool in = ((byte >> bit) & 1) != 0;
            const bool top = (crc & 0x8000) != 0;
            crc = static_cast<std::uint16_t>(crc << 1);
            if (in != top)
                crc ^= 0x1021;
        }
    }
    return crc;
}

SimFixture::SimFixture(SimOptions options) : sim_(std::move(options)) {
    std::string error;
    if (!sim_.start(error))
        throw std::runtime_error(error);
    host_ = std::make_unique<HostPort>(sim_.devicePath(), sim_.baudRate());
}

Bytes SimFixture::ask(const Bytes& frame, std::size_t replyLength) {
    host_->send(frame);
    return host_->readCount(replyLength);
}

void SimFixture::tell(const Bytes& frame) {
    auto judged = [this] {
        return sim_.count(LogKind::Received) + sim_.count(LogKind::Rejected);
    };
    const std::size_t before = judged();
    host_->send(frame);
    // Wait for the frame to be judged (either way) and for the display to settle.
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < end) {
        if (judged() > before && sim_.waitUntilQuiet(100ms))
            return;
        std::this_thread::sleep_for(1ms);
    }
}

void SimFixture::closeHost() {
    host_.reset();
}

void SimFixture::reopen(int baudRate) {
    host_.reset();
    host_ = std::make_unique<HostPort>(sim_.devicePath(), baudRate);
}

} // namespace tavisto::sim::test
