#pragma once

#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "tests/support/SimulatedDisplay.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tavisto::testing {

using namespace std::chrono_literals;

// What the CLI says on stderr when it takes the first listed port, here the fake one.
inline const std::string kUsingFakePort =
    "Using /dev/ttyFAKE0, the first serial port listed (--port PATH names another).\n";

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

// Runs tavisto-cli command lines against the fake line on a virtual clock, with a
// port list the test controls and, once the test places one, a display behind the line.
class CliTest : public ::testing::Test {
protected:
    CliRun run(const std::vector<std::string>& args) {
        const cli::CliEnvironment environment{
            line, clock,
            [this](std::vector<std::string>& list, std::string& message) {
                if (listFails) {
                    message = "Error opening registry key for serial port list";
                    return false;
                }
                list = ports;
                message = "OK";
                return true;
            },
            kLangEnglish, transferThreads};
        std::ostringstream out;
        std::ostringstream err;
        const int code = cli::RunCli(args, out, err, environment);
        return {code, out.str(), err.str()};
    }

    // The virtual display's device of a model (its index in the model table) at a
    // speed behind the line, in place of the one before it.
    SimulatedDisplay& displayAt(int baudRate, int model, std::uint32_t version = 14) {
        display.reset(); // lets go of the line before the new one takes it
        display.emplace(line, model, baudRate, version);
        return *display;
    }

    std::vector<int> openedSpeeds() const {
        std::vector<int> speeds;
        for (const auto& event : line.events()) {
            if (event.kind == LineEvent::Open)
                speeds.push_back(event.baudRate);
        }
        return speeds;
    }

    VirtualClock clock;
    FakeLine line{clock};
    std::vector<std::string> ports = {"/dev/ttyFAKE0"};
    bool listFails = false;
    cli::TransferThreadsMaker transferThreads; // empty for threads in real time
    std::optional<SimulatedDisplay> display;
};

} // namespace tavisto::testing
