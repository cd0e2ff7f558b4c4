// tavisto-cli provision on the real serial layer against virtual displays on
// pseudo-terminals, for what only a real line shows: workers on several ports at once
// stopped by Ctrl+C, a port that goes away, the port's lock against another program,
// an inventory of several ports at once.
#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "link/PosixSerialPort.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/cli/ProvisionFixture.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;

class Provision : public ProvisionFiles {
protected:
    sim::VirtualDisplay& addDisplay(int model, sim::Faults faults = {}) {
        sim::SimOptions options;
        options.model = model;
        options.baudRate = 9600;
        options.faults = faults;
        displays.push_back(std::make_unique<sim::VirtualDisplay>(options));
        std::string error;
        EXPECT_TRUE(displays.back()->start(error)) << error;
        return *displays.back();
    }

    std::string ports() const {
        std::string list;
        for (const auto& display : displays)
            list += (list.empty() ? "" : ",") + display->devicePath();
        return list;
    }

    CliRun run(const std::vector<std::string>& args) const {
        return runIn({link::posixPortOpener(), systemClock(), {}, kLangEnglish}, args);
    }

    std::vector<std::unique_ptr<sim::VirtualDisplay>> displays;
};

// Ctrl+C in the middle of the pictures: every worker stops, every display is at its
// stored speed, the report says "interrupted" and the exit status is 130.
TEST_F(Provision, CtrlCLeavesEveryDisplayAtItsStoredSpeed) {
    sim::Faults paced;
    paced.pacing = true;  // a full-panel picture takes seconds at 115200 baud
    addDisplay(0, paced); // KT350--MKA, addressed
    addDisplay(4, paced); // KT750--MK, addressed
    addDisplay(5, paced); // KT350-MK, named
    const std::string profile =
        writeProfile("slow.json", R"({"pictures": {"73": "logo.bmp", "76": "offer.bmp"}})");
    CliRun result{};
    std::thread command([&] {
        result = run({"provision", profile, "--ports", ports(), "--report", path("stop.json")});
    });
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (displays[0]->baudRate() != 115200 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(500ms);
    ::kill(::getpid(), SIGINT);
    command.join();

    EXPECT_EQ(result.code, cli::kExitInterrupted) << result.out << result.err;
    const json report = readReport("stop.json");
    ASSERT_EQ(report["ports"].size(), 3u);
    EXPECT_EQ(report["ports"][0]["result"], "interrupted");
    for (std::size_t i = 0; i < displays.size(); ++i) {
        SCOPED_TRACE(displays[i]->devicePath());
        EXPECT_EQ(displays[i]->baudRate(), 9600);
        EXPECT_NE(report["ports"][i]["result"], "failed");
        displays[i]->setFaults({});
        const CliRun version =
            run({"--port", displays[i]->devicePath(), "--baud", "9600", "show-picture", "1"});
        EXPECT_EQ(version.code, 0) << version.err;
    }
}

// A display that goes away while it takes a named file: the report says the port
// went away, not that the display answered a wrong CRC.
TEST_F(Provision, ADisplayThatGoesAwayMidFileIsReportedAsGone) {
    sim::Faults paced;
    paced.pacing = true;                                 // 200 KB take about 17 s at 115200 baud
    sim::VirtualDisplay& display = addDisplay(5, paced); // KT350-MK, named
    Bytes font(200 * 1024, '\0');
    for (std::size_t i = 0; i < font.size(); ++i)
        font[i] = static_cast<char>(i * 7);
    folder.write("font.bin", font);
    const std::string profile =
        writeProfile("font.json", R"({"fonts": [{"item": "CP850", "file": "font.bin"}]})");
    const std::string port = display.devicePath();
    CliRun result{};
    std::thread command([&] {
        result = run({"provision", profile, "--ports", port, "--report", path("gone.json")});
    });
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (display.baudRate() != 115200 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(1s);
    display.stop();
    command.join();

    EXPECT_EQ(result.code, 1) << result.out << result.err;
    const json report = readReport("gone.json");
    ASSERT_EQ(report["ports"].size(), 1u);
    const std::string error = report["ports"][0]["error"].get<std::string>();
    EXPECT_TRUE(error.starts_with("fonts: CP850 [Failed]:the port closed")) << error;
    EXPECT_EQ(error.find("CRC"), std::string::npos) << error;
}

// The run holds each port from its first byte to its last: another program that
// takes the port's lock is refused at the start, naming the port, and finds the port
// taken between the run's own opens of it as well.
TEST_F(Provision, APortIsHeldForTheWholeRun) {
    sim::VirtualDisplay& display = addDisplay(5);
    const std::string port = display.devicePath();
    const std::string profile = writeProfile("shop.json", kFleetProfile);
    auto takeLock = [&port] {
        const int fd = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return fd;
        if (fd >= 0)
            ::close(fd);
        return -1;
    };

    const int held = takeLock();
    ASSERT_GE(held, 0);
    const CliRun refused =
        run({"provision", profile, "--ports", port, "--report", path("held.json")});
    ::close(held);
    EXPECT_EQ(refused.code, 1);
    const json report = readReport("held.json");
    EXPECT_NE(
        report["ports"][0]["error"].get<std::string>().find(port + " is in use by another program"),
        std::string::npos)
        << report.dump();
    EXPECT_TRUE(display.receivedFrames().empty());

    std::atomic<bool> done{false};
    CliRun result{};
    std::thread command([&] {
        result = run({"provision", profile, "--ports", port});
        done = true;
    });
    // Whenever the lock could be taken, the frames the display had by then: a lock taken
    // with frames still to come was taken in the middle of the run. The play step's
    // three frames go without an answer, so the display (reading on a thread of its own,
    // slower under the sanitizers) may still be taking them when the worker has let go:
    // those are not counted. A gap between steps is followed by many more frames.
    std::vector<std::size_t> takenAt;
    int tries = 0;
    while (!done) {
        const std::size_t frames = display.receivedFrames().size();
        const int fd = takeLock();
        if (fd >= 0) {
            if (frames > 0)
                takenAt.push_back(frames);
            ::close(fd);
        }
        tries += frames > 0 ? 1 : 0;
        std::this_thread::sleep_for(1ms);
    }
    command.join();
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_GT(tries, 0);
    const std::size_t last = display.receivedFrames().size();
    const int taken = static_cast<int>(std::count_if(
        takenAt.begin(), takenAt.end(), [last](std::size_t n) { return n + 3 < last; }));
    std::string at;
    for (std::size_t n : takenAt)
        at += " " + std::to_string(n);
    EXPECT_EQ(taken, 0) << "taken " << taken << " times in " << tries
                        << " tries, with these frame counts of " << last << ":" << at;
}

// The inventory reads every port at once: a display that does not answer has a null
// model and an error, and does not keep the other port from being read.
TEST_F(Provision, InventoryOfSeveralPortsReportsEachInItsOrder) {
    sim::Faults silent;
    silent.silent = true;
    sim::VirtualDisplay& named = addDisplay(3);
    addDisplay(0, silent);
    const CliRun inventory = run({"inventory", "--ports", ports(), "--json"});
    EXPECT_EQ(inventory.code, 1) << inventory.err;
    const json displaysJson = json::parse(inventory.out);
    ASSERT_EQ(displaysJson["displays"].size(), 2u);
    const json& found = displaysJson["displays"][0];
    EXPECT_EQ(found["port"], named.devicePath());
    EXPECT_EQ(found["model"], "KT350-MKD");
    EXPECT_FALSE(found.contains("error"));
    const json& silentJson = displaysJson["displays"][1];
    EXPECT_EQ(silentJson["port"], displays[1]->devicePath());
    EXPECT_TRUE(silentJson["model"].is_null());
    EXPECT_TRUE(silentJson["error"].is_string());
}

} // namespace
} // namespace tavisto::testing
