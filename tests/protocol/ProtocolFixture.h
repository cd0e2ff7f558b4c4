#pragma once

#include "link/Connection.h"
#include "tests/support/FakeLine.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavisto::testing {

using namespace std::chrono_literals;
using Kinds = std::vector<LineEvent::Kind>;

inline constexpr auto kOpen = LineEvent::Open;
inline constexpr auto kClose = LineEvent::Close;
inline constexpr auto kWrite = LineEvent::Write;

// A connection on a scripted line at 9600 baud, on a virtual clock, with the
// trace lines collected.
class ProtocolTest : public ::testing::Test {
protected:
    ProtocolTest() {
        connection.CurrentPortName = "/dev/ttyFAKE0";
        connection.CurrentBaudRate = 9600;
        connection.trace.setSink([this](const std::string& text) { traced.push_back(text); });
    }

    // The display answers every frame equal to `query` with `reply` after `delay`.
    void answer(const Bytes& query, const Bytes& reply, Micros delay = 10ms) {
        line.onWrite = [this, query, reply, delay](const Bytes& written) {
            if (written == query)
                line.arrive(reply, delay);
        };
    }

    // The display echoes every frame after `delay`.
    void echo(Micros delay = 20ms) {
        line.onWrite = [this, delay](const Bytes& written) {
            line.arrive(written, delay);
        };
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
};

} // namespace tavisto::testing
