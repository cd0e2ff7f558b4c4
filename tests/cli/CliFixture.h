#pragma once

#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "tests/support/FakeLine.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>
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

// Runs tavisto-cli command lines against a scripted line on a virtual clock,
// with a port list the test controls.
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
            kLangEnglish};
        std::ostringstream out;
        std::ostringstream err;
        const int code = cli::RunCli(args, out, err, environment);
        return {code, out.str(), err.str()};
    }

    // A display of `model` at `baudRate`: it names itself, echoes the echo
    // commands, and answers the version and configuration queries.
    void displayAt(int baudRate, const std::string& model, const Bytes& version = wire("0E"),
                   const Bytes& configuration = "{}") {
        line.onWrite = [=, this](const Bytes& written) {
            if (line.baudRate() != baudRate)
                return;
            if (written == wire("02 07 16 01"))
                line.arrive(model + '\0', 10ms);
            else if (written == wire("02 07 16 02"))
                line.arrive(version, 10ms);
            else if (written == wire("02 07 16 05"))
                line.arrive(configuration + '\0', 10ms);
            else if (isEchoed(written))
                line.arrive(written, 10ms);
        };
    }

    // The colour, header-mode and main-text-lines frames are the ones echoed.
    static bool isEchoed(const Bytes& frame) {
        if (frame.size() < 3 || !frame.starts_with(wire("02 07")))
            return false;
        const Bytes echoedCodes = wire("09 0A 0B 0C 0E 0F 10 11 14");
        return echoedCodes.find(frame[2]) != Bytes::npos;
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
};

} // namespace tavisto::testing
