#pragma once

#include "link/Connection.h"
#include "tests/support/SimulatedDisplay.h"
#include "tests/support/Wire.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tavisto::testing {

using namespace std::chrono_literals;
using Kinds = std::vector<LineEvent::Kind>;
using FaultChange = std::function<void(sim::Faults&)>;

inline constexpr auto kOpen = LineEvent::Open;
inline constexpr auto kClose = LineEvent::Close;
inline constexpr auto kWrite = LineEvent::Write;

// A connection to /dev/ttyFAKE0 at 9600 baud on the fake line and its virtual clock,
// with the trace lines collected; behind the line the virtual display's device once
// the test places one there, and nothing before.
class ConnectionTest : public ::testing::Test {
protected:
    ConnectionTest() {
        connection.CurrentPortName = "/dev/ttyFAKE0";
        connection.CurrentBaudRate = 9600;
        connection.trace.setSink([this](const std::string& text) { traced.push_back(text); });
    }

    // A display of `model` at `baudRate`, misbehaving as `change` sets its faults; it
    // takes the place of the display before it.
    SimulatedDisplay& displayAt(int baudRate, int model = 5, const FaultChange& change = {}) {
        display.reset(); // lets go of the line before the new one takes it
        display.emplace(line, model, baudRate);
        misbehave(change);
        return *display;
    }

    // The display's faults from now on: none but what `change` sets.
    void misbehave(const FaultChange& change) {
        sim::Faults faults;
        if (change)
            change(faults);
        display->setFaults(faults);
    }

    void openSession() {
        std::string openMessage;
        ASSERT_EQ(LcdOpenSession(connection, connection.CurrentPortName, 9600, openMessage), 1);
    }

    std::vector<std::string> traced;
    std::string message;
    VirtualClock clock;
    FakeLine line{clock};
    TConnection connection{line, clock};
    std::optional<SimulatedDisplay> display;
};

} // namespace tavisto::testing
