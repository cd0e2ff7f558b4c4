// The Win32 serial port against virtual displays that run on this machine's
// pseudo-terminals; run-under-wine.sh maps them to COM ports and names them here:
//   TAVISTO_TEST_PORT          a KT350-MK at 9600 baud
//   TAVISTO_TEST_STALLED_PORT  a display that has stopped reading the line
//   TAVISTO_TEST_HELD_PORT     a port another program holds for exclusive use
//   TAVISTO_TEST_ADDRESSED_PORT  a KT350--MKA (addressed transfers) at 19200 baud
#include "link/Connection.h"
#include "protocol/Crc16.h"
#include "protocol/Discovery.h"
#include "protocol/DisplayCommands.h"
#include "protocol/FileTransfer.h"
#include "protocol/Session.h"
#include "protocol/TransferFrames.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace tavisto {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
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
