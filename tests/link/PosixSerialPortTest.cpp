#include "link/PosixSerialPort.h"

#include "link/Connection.h"
#include "link/PortAccess.h"
#include "tests/support/PtyPair.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tavisto {
namespace {

using testing::PtyPair;

class SerialLink : public ::testing::Test {
protected:
    PtyPair pty;
    TConnection connection;
    std::string message;

    link::PortHandle open(int baudRate = 9600) {
        link::PortHandle handle;
        EXPECT_EQ(OpenPort(connection, handle, pty.path(), baudRate), 1);
        return handle;
    }
};

TEST_F(SerialLink, OtherSideSeesTheLineSpeedAtOpenAndAfterAChange) {
    auto port = open(19200);
    EXPECT_EQ(pty.lineSpeed(), B19200);
    SetPortBaudRate(port, 115200);
    EXPECT_EQ(pty.lineSpeed(), B115200);
    link::PortHandle none;
    SetPortBaudRate(none, 9600); // an empty handle is ignored
}

TEST_F(SerialLink, BytesTravelUnchangedInBothDirections) {
    auto port = open();
    // Bytes a cooked terminal would eat or translate: XON, XOFF, CR, LF, ^C, NUL.
    const Bytes special("\x11\x13\r\n\x03\x00\xFF", 7);
    ASSERT_TRUE(WritePort(port, special, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(pty.receive(), special);

    pty.send(special);
    ASSERT_TRUE(port->waitForInput(Millis(500)));
    Bytes got;
    ASSERT_TRUE(ReadPort(port, got, message));
    EXPECT_EQ(got, special);
}

TEST_F(SerialLink, TwoByteStringsGoOutAsOneWrite) {
    auto port = open();
    ASSERT_TRUE(WritePort(port, Bytes("\x02\x07", 2), Bytes("\x1A\x03", 2), message));
    EXPECT_EQ(pty.receive(), Bytes("\x02\x07\x1A\x03", 4));
}

TEST_F(SerialLink, ReadReturnsAtOnceWhenNothingWaits) {
    auto port = open();
    Bytes got = "stale";
    EXPECT_FALSE(ReadPort(port, got, message));
    EXPECT_EQ(message, "Failed to read data");
    EXPECT_TRUE(got.empty());
    EXPECT_FALSE(port->waitForInput(Millis(30)));
}

TEST_F(SerialLink, MoreThan4096WaitingBytesComeInPortions) {
    auto port = open();
    std::string sent;
    for (int i = 0; i < 6000; ++i)
        sent.push_back(static_cast<char>(i * 7));
    pty.send(sent);
    std::string received;
    for (int tries = 0; received.size() < sent.size() && tries < 100; ++tries) {
        port->waitForInput(Millis(100));
        Bytes part;
        if (ReadPort(port, part, message)) {
            EXPECT_LE(part.size(), 4096u);
            received += part;
        }
    }
    EXPECT_EQ(received, sent);
}

TEST_F(SerialLink, PurgeDropsWhatHasArrived) {
    auto port = open();
    pty.send("garbage");
    ASSERT_TRUE(port->waitForInput(Millis(500)));
    port->purgeInput();
    Bytes got;
    EXPECT_FALSE(ReadPort(port, got, message));
}

TEST_F(SerialLink, WriteToALineNobodyReadsGivesUpWithinItsTimeOut) {
    auto port = open();
    auto* posix = dynamic_cast<link::PosixSerialPort*>(port.get());
    ASSERT_NE(posix, nullptr);
    testing::FillLineNobodyReads(posix->fd());
    EXPECT_FALSE(WritePort(port, Bytes("\x02\x07\x16\x01", 4), message));
    EXPECT_EQ(message.rfind("3: ", 0), 0u) << message;
}

// The port's own limits, on a pipe: unlike a pseudo-terminal, whose line discipline
// hands over at most 4096 bytes at a time anyway, a pipe holds more than one read takes.
class PipeLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::pipe2(ends_, O_NONBLOCK | O_CLOEXEC), 0); }
    void TearDown() override {
        for (int fd : ends_)
            if (fd >= 0)
                ::close(fd);
    }
    // The port owns the end it is given.
    std::unique_ptr<link::PosixSerialPort> take(int& end) {
        auto port = std::make_unique<link::PosixSerialPort>(end);
        end = -1;
        return port;
    }
    int ends_[2] = {-1, -1};
    std::string message;
};

TEST_F(PipeLine, AReadTakesAtMost4096Bytes) {
    const std::string sent(6000, 'r');
    ASSERT_EQ(::write(ends_[1], sent.data(), sent.size()), 6000);
    auto port = take(ends_[0]);
    Bytes got;
    ASSERT_TRUE(port->read(got, message));
    EXPECT_EQ(got.size(), 4096u);
    ASSERT_TRUE(port->read(got, message));
    EXPECT_EQ(got.size(), 6000u - 4096u);
    EXPECT_FALSE(port->read(got, message));
}

TEST_F(PipeLine, AStalledWriteGetsASecondPlusATenthOfASecondPerByte) {
    const std::string block(4096, 'w');
    while (::write(ends_[1], block.data(), block.size()) > 0) {
    }
    auto port = take(ends_[1]);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port->write(Bytes(5, 'x'), message));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(message, "3: " + std::to_string(ETIMEDOUT));
    // 1000 ms + 5 * 100 ms (the port counts whole milliseconds, so it may give up a
    // moment early); the upper bound leaves room for a busy machine but not for
    // another half second of deadline.
    EXPECT_GE(waited, std::chrono::milliseconds(1490));
    EXPECT_LT(waited, std::chrono::milliseconds(1950));
}

TEST_F(SerialLink, AnUnpluggedLineFailsReadsAndWrites) {
    auto keeperless = std::make_unique<PtyPair>();
    link::PortHandle port;
    ASSERT_EQ(OpenPort(connection, port, keeperless->path(), 9600), 1);
    EXPECT_FALSE(port->hungUp());
    keeperless.reset(); // the other end disappears
    EXPECT_TRUE(port->hungUp());
    Bytes got;
    EXPECT_FALSE(ReadPort(port, got, message));
    EXPECT_EQ(message, "Failed to read data");
    EXPECT_FALSE(WritePort(port, "x", message));
    EXPECT_EQ(message.rfind("1: ", 0), 0u) << message;
}

TEST_F(SerialLink, OpenHandleIsNotReopened) {
    auto port = open();
    EXPECT_EQ(OpenPort(connection, port, "/dev/does-not-exist", 9600), 0);
    EXPECT_TRUE(port); // still the first port
}

TEST_F(SerialLink, SecondOpenOfTheSameLineIsRefusedUntilTheFirstCloses) {
    auto first = open();
    link::PortHandle second;
    EXPECT_EQ(OpenPort(connection, second, pty.path(), 9600), 2);
    EXPECT_FALSE(second);

    // Another process is refused as well.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TConnection other;
        link::PortHandle handle;
        _exit(OpenPort(other, handle, pty.path(), 9600));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);

    first.reset();
    EXPECT_EQ(OpenPort(connection, second, pty.path(), 9600), 1);
}

// A port another program holds says so under the open error, naming that program;
// once it lets go, the open error (of a port now missing, say) stands alone again.
TEST_F(SerialLink, APortHeldElsewhereIsReportedAsInUseByItsHolder) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    int release[2];
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TConnection other;
        link::PortHandle handle;
        const char opened = OpenPort(other, handle, pty.path(), 9600) == 1 ? 'y' : 'n';
        (void)!::write(ready[1], &opened, 1);
        char any = 0;
        (void)!::read(release[0], &any, 1);
        _exit(0);
    }
    char opened = 0;
    ASSERT_EQ(::read(ready[0], &opened, 1), 1);
    ASSERT_EQ(opened, 'y');

    std::string command;
    std::getline(std::ifstream("/proc/self/comm"), command);
    const std::string failed = OpenCodeMessage(link::kOpenFailed, kLangEnglish);
    EXPECT_EQ(WithPortOpenHint(failed, pty.path(), kLangEnglish),
              failed + "\n" + pty.path() + " is in use by another program (" + command +
                  ", process " + std::to_string(child) + "): close it there, then try again.");
    const std::string chinese = WithPortOpenHint(OpenCodeMessage(link::kOpenFailed, kLangChinese),
                                                 pty.path(), kLangChinese);
    EXPECT_NE(chinese.find("\n" + pty.path() + " 正被另一个程序使用"), std::string::npos);
    // Other failures get no line.
    EXPECT_EQ(WithPortOpenHint("Set Title mode Error!", pty.path(), kLangEnglish),
              "Set Title mode Error!");

    (void)!::write(release[1], "x", 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WithPortOpenHint(failed, pty.path(), kLangEnglish), failed);
    // A port that is not there is named as missing.
    EXPECT_EQ(WithPortOpenHint(failed, "/nonexistent/ttyUSB9", kLangEnglish),
              failed + "\n/nonexistent/ttyUSB9 does not exist: check the port name and the "
                       "cable (tavisto-cli ports lists the ports there are).");
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);
}

TEST_F(SerialLink, HandleOpenersReportTheMessageForm) {
    connection.SystemLangId = kLangEnglish;
    EXPECT_EQ(OpenOneShotPort(connection, "", 9600, message), 2);
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_EQ(LcdOpenSession(connection, "/dev/does-not-exist", 9600, message), 3);
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_EQ(LcdOpenSession(connection, "/dev/null", 9600, message), 3);
    EXPECT_EQ(message, " Cannot setup comm buffer!");
    EXPECT_FALSE(connection.SessionPort);

    connection.SystemLangId = kLangChinese;
    EXPECT_EQ(LcdOpenSession(connection, "/dev/does-not-exist", 9600, message), 3);
    EXPECT_EQ(message, " 打开串口出错，此串口不存在或被占用!");

    EXPECT_EQ(LcdOpenSession(connection, pty.path(), 9600, message), 1);
    EXPECT_TRUE(connection.SessionPort);
    EXPECT_EQ(OpenOneShotPort(connection, pty.path(), 9600, message), 3); // exclusive
    LcdCloseSession(connection);
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(OpenOneShotPort(connection, pty.path(), 9600, message), 1);
    CloseOneShotPort(connection);
    CloseOneShotPort(connection); // closing an empty handle does nothing
    EXPECT_FALSE(connection.OneShotPort);
}

TEST_F(SerialLink, WritesAndReadsOnAnEmptyHandleFail) {
    link::PortHandle none;
    EXPECT_FALSE(WritePort(none, "x", message));
    Bytes got;
    EXPECT_FALSE(ReadPort(none, got, message));
    EXPECT_EQ(message, "Failed to read data");
}

} // namespace
} // namespace tavisto
