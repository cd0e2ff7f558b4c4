// tavisto-cli against the virtual display's device on the fake line, on the virtual
// clock.
#include "tests/cli/CliFixture.h"
#include "tests/support/SimulatedDisplay.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

class CliSimTest : public CliTest {
protected:
    using CliTest::run;
    int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
        const CliRun result = run(args);
        out = result.out;
        err = result.err;
        return result.code;
    }
};

// A transfer killed half-way leaves the display at 115200 while its settings say
// 9600. The next scan finds it there and sets it back, so that later commands given
// --baud 9600 reach it again.
TEST_F(CliSimTest, ADisplayLeftAtTheTransferSpeedIsSetBackToItsOwn) {
    SimulatedDisplay display{line, 5, 9600};
    const std::string port = "/dev/ttyFAKE0";
    const std::string note = "The display was still at 115200 baud from a transfer that did not "
                             "finish; it is set back to its own speed, 9600 baud.\n";
    std::string out;
    std::string err;
    // What a transfer's start does: the link-speed command for 115200.
    auto leftAt115200 = [&] {
        ASSERT_EQ(run({"--port", port, "--baud", "9600", "raw", "02 07 04 00 01 C2 00"}, out, err),
                  0);
        ASSERT_TRUE(display.settle());
        ASSERT_EQ(display.baudRate(), 115200);
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
    ASSERT_TRUE(display.settle());
    ASSERT_EQ(display.baudRate(), 115200);
    EXPECT_EQ(run({"--port", port, "version"}, out, err), 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(display.baudRate(), 115200);
}

} // namespace
} // namespace tavisto::testing
