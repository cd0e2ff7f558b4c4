// The five-speed scan through the real serial layer (termios speeds), against the
// virtual display on a pseudo-terminal, in real time. The commands against its device
// on the virtual clock are in ProtocolSimTest.
#include "sim/runtime/VirtualDisplay.h"

#include "protocol/Discovery.h"

#include <gtest/gtest.h>
#include <memory>

namespace tavisto::testing {
namespace {

class OnVirtualDisplay : public ::testing::Test {
protected:
    void start(int model, int baudRate, sim::Faults faults = {}) {
        sim::SimOptions options;
        options.model = model;
        options.baudRate = baudRate;
        options.faults = faults;
        display = std::make_unique<sim::VirtualDisplay>(options);
        std::string error;
        ASSERT_TRUE(display->start(error)) << error;
        connection.CurrentPortName = display->devicePath();
        connection.CurrentBaudRate = baudRate;
    }

    std::unique_ptr<sim::VirtualDisplay> display;
    TConnection connection; // real ports, real time
};

TEST_F(OnVirtualDisplay, TheScanFindsTheDisplayAtEachSpeed) {
    const int speeds[] = {9600, 19200, 38400, 57600, 115200};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(speeds[i]);
        start(i + 1, speeds[i]);
        connection.CurrentBaudRate = 0;
        const ScanResult result = ScanForDisplay(connection);
        EXPECT_EQ(result.model, i + 1);
        EXPECT_EQ(result.baudRate, speeds[i]);
        EXPECT_EQ(connection.CurrentBaudRate, speeds[i]);
        EXPECT_FALSE(connection.SessionPort);
        display.reset();
    }
}

} // namespace
} // namespace tavisto::testing
