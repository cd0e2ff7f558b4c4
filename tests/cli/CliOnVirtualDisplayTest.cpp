// tavisto-cli on the real serial layer, against the virtual display on a
// pseudo-terminal; the commands against its device on the virtual clock are in
// CliSimTest.
#include "cli/Cli.h"
#include "link/PosixSerialPort.h"
#include "sim/VirtualDisplay.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <sstream>

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

} // namespace
} // namespace tavisto::testing
