// One port's provisioning against the virtual display's device on the fake line, on
// the virtual clock, as a window would follow it:
// the events come in order, each step's start before its end, and the port's end last
// with the same result the run returns.
#include "app/provision/ProvisionWorker.h"
#include "tests/support/SimulatedDisplay.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <mutex>

namespace tavisto::testing {
namespace {

using namespace provision;

class RecordedEvents final : public ProvisionEvents {
public:
    void stepStarted(const std::string& port, const std::string& step) override {
        add(port, "start " + step);
    }
    void identified(const std::string& port, const PortIdentity& identity) override {
        add(port, "identified " + identity.model + " " + std::to_string(identity.baud));
    }
    void progress(const std::string& port, const TransferProgress&) override {
        add(port, "progress");
    }
    void note(const std::string& port, const std::string&) override { add(port, "note"); }
    void stepEnded(const std::string& port, const StepResult& step) override {
        add(port,
            "end " + step.step + " " + step.result + (step.error.empty() ? "" : ": ") + step.error);
    }
    void portEnded(const std::string& port, const PortResult& result) override {
        add(port, "port " + result.result);
        const std::lock_guard lock(mutex_);
        ended.push_back(result);
    }

    std::vector<std::string> lines;
    std::vector<PortResult> ended;

private:
    void add(const std::string& port, const std::string& line) {
        const std::lock_guard lock(mutex_);
        lines.push_back(port + ": " + line);
    }
    std::mutex mutex_;
};

TEST(ProvisionEvents, EveryStepIsToldInOrderAndThePortsEndLast) {
    VirtualClock clock;
    FakeLine line{clock};
    SimulatedDisplay display{line, 5}; // KT350-MK
    const std::string port = "/dev/ttyFAKE0";

    TempFolder folder;
    folder.write("play.json", R"({"play": {"pictures": [2], "standby": 10, "interval": 3}})");
    folder.write("other.json", R"({"model": "KT750-MK", "play": {"pictures": [2],
                                   "standby": 10, "interval": 3}})");
    const WorkerEnvironment environment{line, clock, kLangEnglish, {}};
    std::string error;
    const std::atomic<bool> stop{false};

    Profile play;
    ASSERT_TRUE(LoadProfile(folder.path() / "play.json", play, error)) << error;
    RecordedEvents events;
    const PortResult done = ProvisionPort(port, play, environment, stop, events);
    EXPECT_EQ(done.result, kSucceeded);
    std::vector<std::string> expected = {
        port + ": start identify",         port + ": identified KT350-MK 9600",
        port + ": end identify succeeded", port + ": start play",
        port + ": end play succeeded",     port + ": port succeeded"};
    std::erase(events.lines, port + ": note");
    EXPECT_EQ(events.lines, expected);
    ASSERT_EQ(events.ended.size(), 1u);
    EXPECT_EQ(events.ended[0].steps.size(), done.steps.size());
    EXPECT_EQ(events.ended[0].error, done.error);

    // A display of another model than the profile's: the cause travels with the step.
    Profile other;
    ASSERT_TRUE(LoadProfile(folder.path() / "other.json", other, error)) << error;
    RecordedEvents refused;
    const PortResult wrong = ProvisionPort(port, other, environment, stop, refused);
    EXPECT_EQ(wrong.result, kFailed);
    const std::string cause =
        "the display is a KT350-MK, not the profile's KT750-MK; nothing was sent to it";
    std::erase(refused.lines, port + ": note");
    expected = {port + ": start identify", port + ": identified KT350-MK 9600",
                port + ": end identify failed: " + cause, port + ": port failed"};
    EXPECT_EQ(refused.lines, expected);
    EXPECT_EQ(wrong.error, "identify: " + cause);
}

} // namespace
} // namespace tavisto::testing
