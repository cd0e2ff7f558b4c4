#pragma once

#include "app/pictures/PictureSlotContents.h"
#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "tests/app/RecordingOperator.h"
#include "tests/app/transfer/InlineThreads.h"
#include "tests/app/transfer/LogLines.h"
#include "tests/support/SimulatedDisplay.h"

#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace tavisto::testing {

using namespace std::chrono_literals;

// The workflows through the serial layer's seam and the transfer engine against the
// simulated display, on the virtual clock: the engine's receiver and named worker run
// inline on the test's thread. Resources are looked up by name, not case-sensitive.
class SimulatedWorkflowTest : public ::testing::Test {
protected:
    SimulatedWorkflowTest() {
        threads.engine = [this]() -> TTransferEngine& {
            return runner.engine();
        };
        connection.CurrentPortName = "/dev/ttyFAKE0";
        connection.CurrentBaudRate = 9600;
    }

    void startDisplay(int model, std::uint32_t version = 14, const sim::Faults& faults = {}) {
        display.reset(); // the old display lets go of the line before the new one takes it
        display = std::make_unique<SimulatedDisplay>(line, model, 9600, version);
        display->setFaults(faults);
    }

    bool finish(Millis limit = 120s) {
        return loop.runUntil([this] { return !runner.engine().Running(); }, limit);
    }

    std::vector<std::string> logLines() const { return LogLines(op); }

    std::optional<Bytes> resource(const std::string& name) const {
        std::string key = name;
        for (char& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const auto found = resources.find(key);
        if (found == resources.end())
            return std::nullopt;
        return found->second;
    }

    VirtualClock clock;
    FakeLine line{clock};
    std::unique_ptr<SimulatedDisplay> display;
    TConnection connection{line, clock};
    RecordingOperator op;
    BlockingOwnerLoop loop{clock};
    InlineThreads threads{connection, loop};
    std::map<std::string, Bytes> resources;
    TPictureSlots slots;
    TTransferRunner runner{connection, op, loop,
                           TJobSources{[this](const std::string& name) { return resource(name); },
                                       [this](int slot) {
                                           return slots.picture(slot);
                                       }},
                           &threads};
};

} // namespace tavisto::testing
