// tavisto-cli on the real serial layer, against the virtual display on a
// pseudo-terminal: finding the display, and Ctrl+C while the engine's threads run a
// transfer. The commands against its device on the virtual clock are in CliSimTest
// and CliDownloadTest.
#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "link/PosixSerialPort.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Wire.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;

// tavisto-cli with the virtual display as the machine's only serial port.
class CliOn {
public:
    explicit CliOn(const sim::VirtualDisplay& display)
        : environment_{link::posixPortOpener(), systemClock(),
                       [&display](std::vector<std::string>& list, std::string&) {
                           list = {display.devicePath()};
                           return true;
                       },
                       kLangEnglish} {}

    int operator()(const std::vector<std::string>& args, std::string& out, std::string& err) const {
        std::ostringstream outStream;
        std::ostringstream errStream;
        const int code = cli::RunCli(args, outStream, errStream, environment_);
        out = outStream.str();
        err = errStream.str();
        return code;
    }

private:
    cli::CliEnvironment environment_;
};

TEST(CliOnVirtualDisplay, FindsTheDisplayWithoutBeingToldAndSendsTheCommand) {
    sim::SimOptions options;
    options.model = 3;
    options.baudRate = 38400;
    options.version = 13;
    sim::VirtualDisplay display(options);
    std::string error;
    ASSERT_TRUE(display.start(error)) << error;

    const CliOn run(display);

    // connect runs the window's Connect workflow: scan, clear, greet, firmware check.
    std::string out;
    std::string err;
    EXPECT_EQ(run({"connect"}, out, err), 0);
    EXPECT_EQ(out, "Connected to KT350-MKD!\nFirmware: V13\nBaud rate: 38400\n");
    EXPECT_EQ(err, "Using " + display.devicePath() +
                       ", the first serial port listed (--port PATH names another).\n"
                       "The current firmware version is lower than the latest version.\n\n"
                       "Please update the firmware version.\n");
    const std::vector<Bytes> frames = display.receivedFrames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(std::vector<Bytes>(frames.end() - 3, frames.end()),
              (std::vector<Bytes>{wire("02 07 16 01"), wire("0C"), wire("02 07 16 02")}));

    display.clearLog();
    EXPECT_EQ(
        run({"--port", display.devicePath(), "--baud", "38400", "text-color", "main", "336699"},
            out, err),
        0);
    EXPECT_EQ(out, "OK\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(display.receivedFrames(), std::vector<Bytes>{wire("02 07 0E 33 66 99")});
}

// Ctrl+C in the middle of a transfer: the queue stops, the display goes back to its
// own speed (a later command given --baud 9600 reaches it) and the exit status says
// the transfer was interrupted.
TEST(CliOnVirtualDisplay, AnInterruptedTransferSetsTheDisplayBack) {
    sim::SimOptions options;
    options.model = 0;            // KT350--MKA
    options.faults.pacing = true; // about nine seconds for the file at 115200 baud
    sim::VirtualDisplay display(options);
    std::string error;
    ASSERT_TRUE(display.start(error)) << error;
    TempFolder folder;
    folder.write("font.bin", Bytes(100000, 'f'));
    const std::string file = (folder.path() / "font.bin").string();
    const CliOn run(display);
    const std::vector<std::string> at9600 = {"--port", display.devicePath(), "--baud", "9600"};
    auto with = [&at9600](std::vector<std::string> args) {
        args.insert(args.begin(), at9600.begin(), at9600.end());
        return args;
    };
    int code = -1;
    std::string out;
    std::string err;
    std::thread command([&] { code = run(with({"download", "cp850", file, "--yes"}), out, err); });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (display.baudRate() != 115200 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(::getpid(), SIGINT);
    command.join();

    EXPECT_EQ(code, cli::kExitInterrupted) << err;
    // The stop can come before the first item is set up, which then is not shown.
    const std::string said =
        "Interrupted: the transfer stopped and the display is back at 9600 baud.\n";
    EXPECT_TRUE(err == said || err.ends_with("\n" + said)) << err;
    EXPECT_EQ(display.baudRate(), 9600);
    EXPECT_EQ(display.storage().flash.count(0x00032000), 0u);
    display.setFaults({});
    EXPECT_EQ(run(with({"version"}), out, err), 0) << err;
}

} // namespace
} // namespace tavisto::testing
