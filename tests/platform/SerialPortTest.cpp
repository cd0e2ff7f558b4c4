// The Win32 serial port against virtual displays that run on this machine's
// pseudo-terminals; run-under-wine.sh maps them to COM ports and names them here:
//   TAVISTO_TEST_PORT          a KT350-MK at 9600 baud
//   TAVISTO_TEST_STALLED_PORT  a display that has stopped reading the line
//   TAVISTO_TEST_HELD_PORT     a port another program holds for exclusive use
//   TAVISTO_TEST_ADDRESSED_PORT  a KT350--MKA (addressed transfers) at 19200 baud
//   TAVISTO_TEST_STOPPED_PORT  a KT350-MK at 115200 baud that the tests stop and continue
//   TAVISTO_TEST_DOOMED_PORT   a display the tests end
//   TAVISTO_TEST_SIGNALS       the folder where a test asks for a display's process to
//                              be sent a signal (see signalDisplay)
#include "link/Connection.h"
#include "link/PortAccess.h"
#include "link/Win32SerialPort.h"
#include "protocol/Crc16.h"
#include "protocol/Discovery.h"
#include "protocol/DisplayCommands.h"
#include "protocol/FileTransfer.h"
#include "protocol/Session.h"
#include "protocol/TransferFrames.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace tavisto {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Has run-under-wine.sh send the process of the display on `port` a signal (STOP,
// CONT or TERM): the file SIGNAL-PORT asks for it, and is gone once it is sent.
// ("COM9.STOP" would not do: a file name whose stem is COM1 to COM9 is the port.)
bool signalDisplay(const std::string& port, const std::string& signal) {
    const std::string folder = environment("TAVISTO_TEST_SIGNALS");
    if (folder.empty())
        return false;
    const std::filesystem::path request = folder + "\\" + signal + "-" + port;
    std::FILE* file = std::fopen(request.string().c_str(), "w");
    if (file == nullptr)
        return false;
    std::fclose(file);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::filesystem::exists(request)) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class OnVirtualDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        port = environment("TAVISTO_TEST_PORT");
        ASSERT_FALSE(port.empty()) << "run this program through run-under-wine.sh";
        connection.CurrentPortName = port;
        connection.CurrentBaudRate = 9600;
    }

    void openSession() {
        std::string openMessage;
        ASSERT_EQ(LcdOpenSession(connection, port, connection.CurrentBaudRate, openMessage), 1)
            << openMessage;
    }

    std::string port;
    TConnection connection; // Win32 ports, real time
    std::string message;
};

TEST_F(OnVirtualDisplay, ConnectScanFindsTheModelAndSpeed) {
    connection.CurrentBaudRate = 0;
    std::vector<int> tried;
    const ScanResult result = ScanForDisplay(connection, [&](int rate) { tried.push_back(rate); });
    EXPECT_EQ(result.model, 5) << result.message; // KT350-MK
    EXPECT_EQ(result.baudRate, 9600);
    EXPECT_EQ(connection.CurrentBaudRate, 9600);
    EXPECT_EQ(tried, std::vector<int>{9600});
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(OnVirtualDisplay, SettingCommandsAreJudgedByTheirEcho) {
    // The display echoes the frame it took; the command compares the echo with what it
    // sent, so a byte changed on the way fails it. run-under-wine.sh also finds the
    // frames 02 07 0E 99 66 33 and 02 07 1C 78 in the display's log.
    EXPECT_TRUE(LcdSetTextColor(connection, TArea::Main, 0x336699, message)) << message;
    EXPECT_TRUE(LcdSetStandbyTime(connection, 120, message)) << message;
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_FALSE(connection.OneShotPort);
}

TEST_F(OnVirtualDisplay, SettingsReadBringsTheDisplaysRecord) {
    EXPECT_EQ(LcdIdentifyModel(connection, message), 5) << message;
    std::string configuration;
    LcdGetConfiguration(connection, message, configuration);
    EXPECT_EQ(message, "OK");
    EXPECT_TRUE(configuration.starts_with("{")) << configuration;
    EXPECT_NE(configuration.find("\"wel_mess1\""), std::string::npos);
    EXPECT_TRUE(configuration.ends_with("}"s + '\0'));
}

Bytes sampleFile(std::size_t size) {
    Bytes file(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        file[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return file;
}

TEST_F(OnVirtualDisplay, AddressedTransferAnswersEveryBlockRequest) {
    const Bytes file = sampleFile(300); // two blocks, the second padded
    port = environment("TAVISTO_TEST_ADDRESSED_PORT");
    ASSERT_FALSE(port.empty());
    connection.CurrentPortName = port;
    connection.CurrentBaudRate = 19200;
    openSession();
    ASSERT_TRUE(LcdTransferSetup(connection, "00032000", "0000012C", message)) << message;
    std::this_thread::sleep_for(100ms);
    LcdSendStart(connection, message);

    std::vector<std::uint32_t> asked;
    std::optional<TDisplayFrame> finished;
    Bytes buffer;
    const auto giveUp = std::chrono::steady_clock::now() + 20s;
    while (!finished && std::chrono::steady_clock::now() < giveUp) {
        Bytes got;
        if (!connection.SessionPort->waitForInput(50ms) ||
            !ReadPort(connection.SessionPort, got, message))
            continue;
        buffer += got;
        while (auto frame = TakeDisplayFrame(buffer)) {
            if (frame->kind == 9) {
                finished = frame;
                break;
            }
            asked.push_back(frame->number);
            ASSERT_TRUE(LcdSendBlock(connection, frame->bytes.substr(12, 4),
                                     BlockData(file, frame->number), message))
                << message;
        }
    }
    LcdCloseSession(connection);
    ASSERT_TRUE(finished) << "the display never said the download was finished";
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(FinishedFrameCrc(*finished), Crc16(file));
}

TEST_F(OnVirtualDisplay, NamedTransferEndsWithTheDisplaysCrc) {
    const Bytes file = sampleFile(1000);
    const std::uint16_t crc = Crc16(file);
    openSession();
    ASSERT_TRUE(
        LcdMakeFile(connection, "WIN.BIN", static_cast<std::uint32_t>(file.size()), crc, message))
        << message;
    std::vector<int> pieces;
    ASSERT_TRUE(LcdSendRaw(connection, file, message, [&](int piece) { pieces.push_back(piece); }))
        << message;
    EXPECT_EQ(pieces, (std::vector<int>{1, 2, 3, 4}));
    // 1000 bytes take about a second on a 9600-baud wire, and the display answers
    // only once it has them all.
    std::this_thread::sleep_for(1500ms);
    EXPECT_TRUE(LcdWaitFileCrc(connection, std::to_string(crc), message)) << message;
    LcdCloseSession(connection);
}

TEST_F(OnVirtualDisplay, APortInUseOrMissingIsRefused) {
    const std::string held = environment("TAVISTO_TEST_HELD_PORT");
    ASSERT_FALSE(held.empty());
    EXPECT_EQ(OpenOneShotPort(connection, held, 9600, message), 3);
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_FALSE(connection.OneShotPort);
    EXPECT_EQ(OpenOneShotPort(connection, "COM199", 9600, message), 3);
    EXPECT_EQ(message, " Error opening serial port!");
    // The same port opened again from this program: the handle that has it answers 0.
    ASSERT_EQ(OpenOneShotPort(connection, port, 9600, message), 1);
    EXPECT_EQ(OpenPort(connection, connection.OneShotPort, port, 9600), 0);
    CloseOneShotPort(connection);
}

// As on Linux, the open error gets a line of its own saying why: the port is not
// there, or another program holds it (Windows names no holder). The open error's own
// text stays as it is.
TEST_F(OnVirtualDisplay, APortThatDoesNotOpenIsGivenItsCause) {
    const std::string held = environment("TAVISTO_TEST_HELD_PORT");
    ASSERT_FALSE(held.empty());
    const std::string failed = OpenCodeMessage(link::kOpenFailed, kLangEnglish);
    EXPECT_EQ(WithPortOpenHint(failed, held, kLangEnglish),
              failed + "\n" + held +
                  " is in use by another program: close it there, then try again.");
    EXPECT_EQ(WithPortOpenHint(failed, "COM199", kLangEnglish),
              failed + "\nCOM199 does not exist: check the port name and the cable "
                       "(tavisto-cli ports lists the ports there are).");
    const std::string chinese =
        WithPortOpenHint(OpenCodeMessage(link::kOpenFailed, kLangChinese), held, kLangChinese);
    EXPECT_EQ(chinese, OpenCodeMessage(link::kOpenFailed, kLangChinese) + "\n" + held +
                           " 正被另一个程序使用：请先在那里关闭它，再试一次。");
    // A port that opens, and other failures, get no line; nor is a port denied.
    EXPECT_EQ(WithPortOpenHint(failed, port, kLangEnglish), failed);
    EXPECT_EQ(WithPortOpenHint("Set Title mode Error!", held, kLangEnglish),
              "Set Title mode Error!");
    EXPECT_TRUE(CheckPortAccess(port).exists);
    EXPECT_TRUE(CheckPortAccess(held).exists);
    EXPECT_FALSE(CheckPortAccess("COM199").exists);
    EXPECT_FALSE(CheckPortAccess(held).denied);
    EXPECT_EQ(PortPermissionHint(held, kLangEnglish), "");
}

// A program that used the port before left XON/XOFF, DSR sensitivity, null
// stripping, abort-on-error, parity checking and another framing and speed on it.
// The open puts the line back to raw 8N1 at the asked speed, as the POSIX side
// clears IXON/IXOFF: an XOFF byte in a picture must not stop the line. (Wine keeps
// only XON/XOFF, the stop bits and the speed with the line itself; the rest is
// checked as the driver reports it.)
TEST_F(OnVirtualDisplay, OpenClearsWhatAPreviousProgramLeftOnTheLine) {
    {
        const std::wstring path(L"\\\\.\\" + std::wstring(port.begin(), port.end()));
        HANDLE other = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE) << GetLastError();
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        ASSERT_TRUE(GetCommState(other, &dcb));
        dcb.BaudRate = 4800;
        dcb.ByteSize = 7;
        dcb.Parity = EVENPARITY;
        dcb.StopBits = TWOSTOPBITS;
        dcb.fOutX = TRUE;
        dcb.fInX = TRUE;
        dcb.fParity = TRUE;
        dcb.fDsrSensitivity = TRUE;
        dcb.fNull = TRUE;
        dcb.fAbortOnError = TRUE;
        dcb.fErrorChar = TRUE;
        EXPECT_TRUE(SetCommState(other, &dcb)) << GetLastError();
        DCB left{};
        left.DCBlength = sizeof left;
        ASSERT_TRUE(GetCommState(other, &left));
        CloseHandle(other);
        // What this driver keeps with the line, so the open below has to clear it (a
        // pseudo-terminal always has 8 data bits and no parity).
        EXPECT_TRUE(left.fOutX);
        EXPECT_TRUE(left.fInX);
        EXPECT_EQ(left.StopBits, TWOSTOPBITS);
        EXPECT_EQ(left.BaudRate, 4800u);
    }
    link::PortHandle line;
    ASSERT_EQ(OpenPort(connection, line, port, 9600), 1);
    auto* win32 = dynamic_cast<link::Win32SerialPort*>(line.get());
    ASSERT_NE(win32, nullptr);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(static_cast<HANDLE>(win32->nativeHandle()), &dcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_TRUE(dcb.fBinary);
    EXPECT_FALSE(dcb.fOutX);
    EXPECT_FALSE(dcb.fInX);
    EXPECT_FALSE(dcb.fParity);
    EXPECT_FALSE(dcb.fDsrSensitivity);
    EXPECT_FALSE(dcb.fOutxDsrFlow);
    EXPECT_FALSE(dcb.fNull);
    EXPECT_FALSE(dcb.fAbortOnError);
    EXPECT_FALSE(dcb.fErrorChar);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    // The display still answers through it.
    line.reset();
    EXPECT_EQ(LcdIdentifyModel(connection, message), 5) << message;
}

// A one-shot command writes its frame and closes the port at once. The close lets
// the bytes go (after their wire time) instead of discarding them: here the display
// is stopped, so the end of the frame is still in the line's queue when the port
// closes, as it can be in a USB adapter. run-under-wine.sh finds the last bytes,
// 1F 58 02, in the display's log once it has run on.
TEST_F(OnVirtualDisplay, AOneShotFrameIsWhollyDeliveredAfterTheClose) {
    port = environment("TAVISTO_TEST_STOPPED_PORT");
    ASSERT_FALSE(port.empty());
    connection.CurrentPortName = port;
    connection.CurrentBaudRate = 115200;
    ASSERT_TRUE(signalDisplay(port, "STOP"));
    // More than the 4 KB the line's far end takes in while nobody reads it.
    const Bytes frame = Bytes(1, '\x0C') + Bytes(5000, 'A') + Bytes("\x1F\x58\x02", 3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(VfdSendRaw(connection, frame, message)) << message;
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(connection.OneShotPort);
    ASSERT_TRUE(signalDisplay(port, "CONT"));
    // 5004 bytes are 435 ms on a 115200-baud wire: the close waits for them that
    // long (less the system tick's granularity, up to 16 ms), and not much longer.
    EXPECT_GE(took, 415ms);
    EXPECT_LT(took, 2000ms);
}

TEST_F(OnVirtualDisplay, TheOutputQueueIsReported) {
    link::PortHandle line;
    ASSERT_EQ(OpenPort(connection, line, port, 9600), 1);
    ASSERT_TRUE(WritePort(line, Bytes("\x02\x07\x1C\x78", 4), message)) << message;
    // The display has the bytes at once (it is unpaced); the queue is empty then.
    std::optional<std::size_t> pending;
    for (int i = 0; i < 100; ++i) {
        pending = line->outputPending();
        if (!pending || *pending == 0)
            break;
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(pending.has_value());
    EXPECT_EQ(*pending, 0u);
    EXPECT_FALSE(line->hungUp());
}

// The display's process ends (as an adapter is unplugged): its end of the line
// closes. The port says it has hung up, reads and writes fail at once, a wait for
// input returns at once (a read would not block), and the close does not wait.
TEST_F(OnVirtualDisplay, ALineWhoseOtherEndClosedHasHungUp) {
    const std::string doomed = environment("TAVISTO_TEST_DOOMED_PORT");
    ASSERT_FALSE(doomed.empty());
    link::PortHandle line;
    ASSERT_EQ(OpenPort(connection, line, doomed, 9600), 1);
    EXPECT_FALSE(line->hungUp());
    EXPECT_TRUE(line->outputPending().has_value());

    ASSERT_TRUE(signalDisplay(doomed, "TERM"));
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (!line->hungUp() && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(line->hungUp()) << "the display's end never closed";

    EXPECT_FALSE(line->outputPending().has_value());
    Bytes got;
    EXPECT_FALSE(ReadPort(line, got, message));
    EXPECT_EQ(message, "Failed to read data");
    EXPECT_FALSE(WritePort(line, "x", message));
    EXPECT_EQ(message.rfind("1: ", 0), 0u) << message;
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(line->waitForInput(2000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    start = std::chrono::steady_clock::now();
    line.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

TEST_F(OnVirtualDisplay, AWriteToADisplayThatStoppedReadingEndsAtItsDeadline) {
    const std::string stalled = environment("TAVISTO_TEST_STALLED_PORT");
    ASSERT_FALSE(stalled.empty());
    link::PortHandle line;
    ASSERT_EQ(OpenPort(connection, line, stalled, 9600), 1);
    // Fill the line's buffers; the first write that does not get through within its
    // 1000 ms + 32 * 100 ms fails with the time-out error.
    const Bytes block(32, 'w');
    std::chrono::steady_clock::duration lastWrite{};
    int writes = 0;
    bool ok = true;
    while (ok && writes < 100000) {
        const auto start = std::chrono::steady_clock::now();
        ok = WritePort(line, block, message);
        lastWrite = std::chrono::steady_clock::now() - start;
        ++writes;
    }
    ASSERT_FALSE(ok) << "the line took " << writes << " writes without stalling";
    EXPECT_EQ(message, "3: 1460"); // ERROR_TIMEOUT
    EXPECT_GE(lastWrite, 4000ms);  // never before the deadline
}

} // namespace
} // namespace tavisto
