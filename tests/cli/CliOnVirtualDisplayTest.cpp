// tavisto-cli on the real serial layer, against the virtual display.
#include "cli/Cli.h"
#include "link/PosixSerialPort.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <sstream>
#include <thread>

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

// The display takes a one-shot command's frame a moment after the command returned.
bool reachesSpeed(const sim::VirtualDisplay& display, int baudRate) {
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (display.baudRate() != baudRate) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// A transfer killed half-way leaves the display at 115200 while its settings say
// 9600. The next scan finds it there and sets it back, so that later commands given
// --baud 9600 reach it again.
TEST(CliOnVirtualDisplay, ADisplayLeftAtTheTransferSpeedIsSetBackToItsOwn) {
    sim::SimOptions options;
    options.model = 5;
    options.baudRate = 9600;
    sim::VirtualDisplay display(options);
    std::string error;
    ASSERT_TRUE(display.start(error)) << error;
    const CliOn run(display);
    const std::string port = display.devicePath();
    const std::string note = "The display was still at 115200 baud from a transfer that did not "
                             "finish; it is set back to its own speed, 9600 baud.\n";
    std::string out;
    std::string err;
    // What a transfer's start does: the link-speed command for 115200.
    auto leftAt115200 = [&] {
        ASSERT_EQ(run({"--port", port, "--baud", "9600", "raw", "02 07 04 00 01 C2 00"}, out, err),
                  0);
        ASSERT_TRUE(reachesSpeed(display, 115200));
    };
    leftAt115200();

    EXPECT_EQ(run({"--port", port, "connect"}, out, err), 0);
    EXPECT_EQ(out, note + "Connected to KT350-MK!\nFirmware: V14\nBaud rate: 9600\n");
    EXPECT_EQ(display.baudRate(), 9600);
    EXPECT_EQ(display.state().settings.Baud_Rate, 0);

    // The same through the scan of any other command.
    leftAt115200();
    EXPECT_EQ(run({"--port", port, "version"}, out, err), 0);
    EXPECT_EQ(out, "V14\n");
    EXPECT_EQ(err, note);
    EXPECT_EQ(display.baudRate(), 9600);
    EXPECT_EQ(run({"--port", port, "--baud", "9600", "version"}, out, err), 0);

    // And through the inventory, which reports the speed the display is back at.
    leftAt115200();
    EXPECT_EQ(run({"inventory", "--ports", port, "--json"}, out, err), 0) << err;
    EXPECT_NE(out.find("\"baud\": 9600"), std::string::npos) << out;
    EXPECT_EQ(display.baudRate(), 9600);

    // A display that is set to 115200 itself stays there.
    ASSERT_EQ(run({"--port", port, "--baud", "9600", "display-baud", "115200"}, out, err), 0);
    ASSERT_TRUE(reachesSpeed(display, 115200));
    EXPECT_EQ(run({"--port", port, "version"}, out, err), 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(display.baudRate(), 115200);
}

} // namespace
} // namespace tavisto::testing
