// tavisto-cli provision on the real serial layer, against several virtual displays at
// once.
#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "link/PosixSerialPort.h"
#include "pictures/PictureConvert.h"
#include "protocol/ModelTable.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

// The display takes a one-shot command's frame (the play setting is the last step) a
// moment after the command returned: waits up to three seconds for `holds`.
template <typename Holds> bool eventually(Holds holds) {
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (!holds()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

class Provision : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SaveResult(Bitmap(200, 100, kRed), path("logo.bmp")));
        ASSERT_TRUE(SaveResult(Bitmap(64, 64, kBlue), path("offer.bmp")));
        // Only the members a settings file names change the defaults.
        folder.write("shop.ini", R"({"wel_mess1": "SHOP 42", "main_str": "FLEET MAIN TEXT"})");
    }

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

    std::string path(const std::string& name) const { return (folder.path() / name).string(); }

    std::string writeProfile(const std::string& name, const std::string& text) const {
        folder.write(name, text);
        return path(name);
    }

    CliRun run(const std::vector<std::string>& args) const {
        const cli::CliEnvironment environment{link::posixPortOpener(), systemClock(),
                                              [](std::vector<std::string>&, std::string& message) {
                                                  message = "no port listing in this test";
                                                  return false;
                                              },
                                              kLangEnglish};
        std::ostringstream out;
        std::ostringstream err;
        const int code = cli::RunCli(args, out, err, environment);
        return {code, out.str(), err.str()};
    }

    json readReport(const std::string& name) const {
        const std::string text = folder.read(name);
        EXPECT_FALSE(text.empty()) << name << " was not written";
        return text.empty() ? json() : json::parse(text);
    }

    // The picture a display stores for slot `slot` when it was sent `colour`: raw
    // RGB565 at the slot's address, or a JPEG of the slot's size under its file name.
    static void expectStoredPicture(const sim::VirtualDisplay& display, int slot,
                                    std::uint32_t address, const std::string& fileName,
                                    Rgb colour) {
        const DisplayModel& model = *FindModel(display.state().model);
        const PixelSize size = SlotPictureSize(model, slot).value();
        const sim::Storage storage = display.storage();
        if (model.isAddressed()) {
            const Bytes pixel = colour == kRed ? Bytes("\x00\xF8", 2) : Bytes("\x1F\x00", 2);
            Bytes expected;
            for (int i = 0; i < size.width * size.height; ++i)
                expected += pixel;
            ASSERT_EQ(storage.flash.count(address), 1u) << model.name << " slot " << slot;
            EXPECT_TRUE(storage.flash.at(address) == expected) << model.name << " slot " << slot;
        } else {
            ASSERT_EQ(storage.files.count(fileName), 1u) << model.name << " " << fileName;
            const Bitmap stored = DecodePicture(storage.files.at(fileName), PictureFormat::Jpeg);
            EXPECT_EQ(stored.width(), size.width);
            EXPECT_EQ(stored.height(), size.height);
            const Rgb middle = stored.pixel(size.width / 2, size.height / 2);
            EXPECT_NEAR(middle.r, colour.r, 8) << model.name;
            EXPECT_NEAR(middle.b, colour.b, 8) << model.name;
        }
    }

    TempFolder folder;
    std::vector<std::unique_ptr<sim::VirtualDisplay>> displays;
};

constexpr const char* kFleetProfile = R"({
    "settings": {"file": "shop.ini", "main_text": true},
    "pictures": {"74": "logo.bmp", "76": "offer.bmp"},
    "play": {"pictures": [1, 3], "standby": 30, "interval": 5}
})";

// Four displays of four models; one stops asking for blocks in the middle of its
// pictures. The other three end up with the settings, pictures and play setting; the
// failing one is reported with its error, and the run exits with 1. Run again with
// --retry-failed, only that port is touched.
TEST_F(Provision, OneFailingDisplayDoesNotStopTheOthersAndIsRetriedAlone) {
    addDisplay(5); // KT350-MK, named
    addDisplay(1); // KT350--MKB, addressed, small panel
    addDisplay(6); // KT750-MK, named
    sim::Faults hangUp;
    hangUp.hangUpAfterBlocks = 20;
    sim::VirtualDisplay& failing = addDisplay(2, hangUp); // KT350-MKC, addressed
    const std::string profile = writeProfile("shop.json", kFleetProfile);

    const CliRun first =
        run({"provision", profile, "--ports", ports(), "--report", path("report.json")});
    EXPECT_EQ(first.code, 1) << first.out << first.err;

    for (std::size_t i = 0; i < 3; ++i) {
        const sim::VirtualDisplay& display = *displays[i];
        EXPECT_TRUE(eventually([&] { return display.state().settings.lun_time == 5; }));
        const sim::DisplayState state = display.state();
        EXPECT_TRUE(state.settings.wel_mess1.starts_with("SHOP 42")) << state.settings.wel_mess1;
        EXPECT_TRUE(state.settings.main_str.starts_with("FLEET MAIN TEXT"))
            << state.settings.main_str;
        EXPECT_EQ(state.settings.pic_reg, 0b101);
        EXPECT_EQ(state.settings.into_lun_bo, 30);
        EXPECT_EQ(state.settings.lun_time, 5);
        expectStoredPicture(display, 74, 0x00F43000, "logo_m0.jpg", kRed);
        expectStoredPicture(display, 76, 0x005B7000, "P1.jpg", kBlue);
        EXPECT_EQ(display.baudRate(), 9600);
    }
    EXPECT_EQ(failing.storage().flash.count(0x005B7000), 0u);

    // The report, field by field.
    const json report = readReport("report.json");
    EXPECT_EQ(report["profile"], profile);
    ASSERT_EQ(report["ports"].size(), 4u);
    const std::vector<std::string> models = {"KT350-MK", "KT350--MKB", "KT750-MK", "KT350-MKC"};
    for (std::size_t i = 0; i < 4; ++i) {
        const json& port = report["ports"][i];
        SCOPED_TRACE(models[i]);
        EXPECT_EQ(port["port"], displays[i]->devicePath());
        EXPECT_EQ(port["model"], models[i]);
        EXPECT_EQ(port["firmware"],
                  FindModelByName(models[i])->reportsFirmware ? json("V14") : json(nullptr));
        EXPECT_GT(port["seconds"].get<double>(), 0.0);
        const json& steps = port["steps"];
        // The failing port stops at its pictures.
        ASSERT_EQ(steps.size(), i < 3 ? 4u : 3u);
        const std::vector<std::string> names = {"identify", "settings", "pictures", "play"};
        for (std::size_t s = 0; s < steps.size(); ++s)
            EXPECT_EQ(steps[s]["step"], names[s]);
        EXPECT_EQ(steps[1]["result"], "succeeded");
        EXPECT_GT(steps[1]["bytes"].get<int>(), 0);
        if (i < 3) {
            EXPECT_EQ(port["result"], "succeeded");
            EXPECT_TRUE(port["error"].is_null());
            for (const json& step : steps) {
                EXPECT_EQ(step["result"], "succeeded");
                EXPECT_TRUE(step["error"].is_null());
            }
        }
    }
    // An addressed model takes its pictures as raw pixels: at least that many bytes went.
    EXPECT_GT(report["ports"][1]["steps"][2]["bytes"].get<int>(), 2 * 480 * 272);
    const json& failed = report["ports"][3];
    EXPECT_EQ(failed["result"], "failed");
    EXPECT_EQ(failed["steps"][2]["result"], "failed");
    EXPECT_TRUE(failed["steps"][2]["error"].is_string());
    EXPECT_EQ(failed["error"], "pictures: " + failed["steps"][2]["error"].get<std::string>());
    // The table names the failing port with its error.
    EXPECT_NE(first.out.find(failing.devicePath()), std::string::npos);
    EXPECT_NE(first.out.find(failed["error"].get<std::string>()), std::string::npos);

    // The display is mended; a retry touches only it.
    failing.setFaults({});
    for (const auto& display : displays)
        display->clearLog();
    const CliRun retry = run({"provision", profile, "--retry-failed", path("report.json"),
                              "--report", path("retry.json")});
    EXPECT_EQ(retry.code, 0) << retry.out << retry.err;
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(displays[i]->log().empty()) << displays[i]->devicePath();
    expectStoredPicture(failing, 76, 0x005B7000, "P1.jpg", kBlue);
    // The retry's report still has the ports that had succeeded, as they were and
    // marked as such, so that it alone says where every display stands.
    const json again = readReport("retry.json");
    ASSERT_EQ(again["ports"].size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) {
        json earlier = report["ports"][i];
        earlier["from_earlier_run"] = true;
        EXPECT_EQ(again["ports"][i], earlier);
    }
    EXPECT_EQ(again["ports"][3]["port"], failing.devicePath());
    EXPECT_EQ(again["ports"][3]["result"], "succeeded");
    EXPECT_FALSE(again["ports"][3].contains("from_earlier_run"));
}

// A profile for one model: a display of another model is refused on its port before
// anything but the identification is sent, and the other port is provisioned.
TEST_F(Provision, AProfileModelThatIsNotConnectedIsRefusedOnThatPortOnly) {
    sim::VirtualDisplay& right = addDisplay(5);
    sim::VirtualDisplay& wrong = addDisplay(3); // KT350-MKD
    const std::string profile =
        writeProfile("one.json", R"({"model": "KT350-MK", "pictures": {"76": "offer.bmp"}})");
    const CliRun result = run({"provision", profile, "--ports", ports(), "--jobs", "1"});
    EXPECT_EQ(result.code, 1) << result.out << result.err;
    expectStoredPicture(right, 76, 0, "P1.jpg", kBlue);
    EXPECT_TRUE(wrong.storage().files.empty());
    for (const Bytes& frame : wrong.receivedFrames())
        EXPECT_TRUE(frame.starts_with(Bytes("\x02\x07\x16", 3))) << "only queries went out";
    EXPECT_NE(result.out.find("the display is a KT350-MKD, not the profile's KT350-MK"),
              std::string::npos)
        << result.out;
}

// A profile that names a missing file, an unreadable picture or an unknown key is
// refused before any port is opened, naming the file and the key; so is one that
// would fail on every port once the settings had gone: a picture cut short after its
// header, a slot the profile's model does not have.
TEST_F(Provision, ABadProfileIsRefusedBeforeAnyPortIsOpened) {
    sim::VirtualDisplay& display = addDisplay(5);
    folder.write("broken.png", "not a picture at all");
    ASSERT_TRUE(SaveResult(Bitmap(320, 240, kRed), path("whole.jpg")));
    const std::string jpeg = folder.read("whole.jpg");
    folder.write("cut.jpg", jpeg.substr(0, jpeg.size() / 2));
    constexpr const char* kPlay = R"("play": {"pictures": [1], "standby": 5, "interval": 2})";
    struct Case {
        std::string profile;
        std::vector<std::string> named; // what the message must name
    };
    const std::vector<Case> cases = {
        {R"({"settings": "missing.ini"})", {"\"settings\"", "missing.ini"}},
        {R"({"pictures": {"73": "broken.png"}})", {"\"pictures.73\"", "broken.png"}},
        {R"({"pictures": {"72": "logo.bmp"}})", {"\"pictures.72\""}},
        {R"({"play": {"pictures": [1], "standby": 5, "interval": 2, "speed": 1}})",
         {"\"play.speed\"", "unknown key"}},
        {R"({"colour": "red"})", {"\"colour\"", "unknown key"}},
        {R"({"firmware": "fw.bin", "firmware_version": 15})", {"\"firmware\"", "model"}},
        {R"({"fonts": [{"item": "Picture_1", "file": "logo.bmp"}]})", {"\"fonts.0.item\""}},
        {R"({"model": "KT350-MK", )", {"not JSON"}},
        {R"({"pictures": {"76": "cut.jpg"}})", {"\"pictures.76\"", "cut.jpg", "truncated"}},
        {R"({"model": "KT350--MKA", "pictures": {"86": "logo.bmp"}})",
         {"\"pictures.86\"", "KT350--MKA has no slot 86"}},
        {"{}", {"nothing to send"}},
        {R"({"fonts": false})", {"nothing to send"}},
        {R"({"play": {"pictures": [1], "standby": 1e400, "interval": 2}})",
         {"\"play.standby\"", "too large"}},
        {R"({"fonts": [{"item": "CP850", "file": "logo.bmp"}, {"item": 1e999}]})",
         {"\"fonts.1.item\"", "too large"}},
        {R"({"play": {"pictures": [1], "standby": 18446744073709551615, "interval": 2}})",
         {"\"play.standby\"", "not 18446744073709551615"}},
        {std::string("{") + kPlay + ", " + kPlay + "}", {"\"play\"", "given twice"}},
        {R"({"fonts": [{"item": "CP850", "item": "CP437", "file": "logo.bmp"}]})",
         {"\"fonts.0.item\"", "given twice"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        const std::string profile = writeProfile("bad.json", c.profile);
        const CliRun check = run({"profile-check", profile});
        EXPECT_EQ(check.code, 1);
        EXPECT_TRUE(check.err.starts_with(profile + ": ")) << check.err;
        for (const std::string& part : c.named)
            EXPECT_NE(check.err.find(part), std::string::npos) << check.err;
        const CliRun provision = run({"provision", profile, "--ports", ports()});
        EXPECT_EQ(provision.code, 1);
        EXPECT_TRUE(provision.err.starts_with(check.err)) << provision.err;
    }
    for (const sim::LogEntry& entry : display.log())
        EXPECT_EQ(entry.text.find("opened"), std::string::npos) << "the port was opened";
    EXPECT_EQ(run({"profile-check", writeProfile("good.json", kFleetProfile)}).code, 0);
}

// What the run reads and writes is checked before a port is opened: the profile must
// be a file, the earlier report too, and no output may replace an input.
TEST_F(Provision, TheRunsOwnFilesAreCheckedBeforeAnyPortIsOpened) {
    sim::VirtualDisplay& display = addDisplay(5);
    const std::string profile = writeProfile("shop.json", kFleetProfile);
    std::filesystem::create_directory(path("folder"));
    ASSERT_EQ(::mkfifo(path("pipe.json").c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> named;
    };
    const std::vector<Case> cases = {
        {{"provision", path("missing.json"), "--ports", ports()}, {"missing.json: does not exist"}},
        {{"provision", path("folder"), "--ports", ports()}, {"folder: is a folder, not a file"}},
        {{"provision", path("pipe.json"), "--ports", ports()},
         {"pipe.json: is not a regular file"}},
        {{"provision", profile, "--retry-failed", path("folder")}, {"folder: is a folder"}},
        {{"provision", profile, "--retry-failed", path("missing.json")},
         {"missing.json: does not exist"}},
        {{"provision", profile, "--ports", ports(), "--report", profile}, {profile, "the profile"}},
        {{"provision", profile, "--ports", ports(), "--report", path("folder/../logo.bmp")},
         {"folder/../logo.bmp", path("logo.bmp"), "\"pictures.74\""}},
        {{"provision", profile, "--ports", ports(), "--report", path("shop.ini")},
         {path("shop.ini"), "\"settings\""}},
        {{"provision", profile, "--retry-failed", path("old.json"), "--report", path("old.json")},
         {"--retry-failed"}},
        {{"provision", profile, "--ports", ports(), "--report", path("nowhere/report.json")},
         {"nowhere", "does not exist"}},
        {{"provision", profile, "--ports", ports(), "--report", path("folder")},
         {"folder: is not a regular file"}},
    };
    folder.write("old.json", R"({"ports": [{"port": "/dev/null", "result": "failed"}]})");
    const std::vector<std::string> before = folder.names();
    const std::string logo = folder.read("logo.bmp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const CliRun result = run(c.args);
        EXPECT_EQ(result.code, 1) << result.out;
        for (const std::string& part : c.named)
            EXPECT_NE(result.err.find(part), std::string::npos) << result.err;
    }
    // "settings.ini" beside "settings.ini": the settings would be written over by the
    // profile. Refused before the port is opened.
    folder.write("taken.ini", "{}");
    const CliRun from = run({"profile-from", display.devicePath(), path("taken.ini")});
    EXPECT_EQ(from.code, 1);
    EXPECT_NE(from.err.find(path("taken.ini") + ": the settings file"), std::string::npos)
        << from.err;
    EXPECT_EQ(folder.read("taken.ini"), "{}");

    EXPECT_EQ(folder.read("logo.bmp"), logo);
    EXPECT_EQ(folder.read("shop.json"), kFleetProfile);
    for (const sim::LogEntry& entry : display.log())
        EXPECT_EQ(entry.text.find("opened"), std::string::npos) << "the port was opened";
}

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

// A firmware file goes only to a display whose version is below the profile's.
TEST_F(Provision, FirmwareGoesOnlyWhereItIsDue) {
    sim::VirtualDisplay& old = addDisplay(5);
    sim::VirtualDisplay& current = addDisplay(5);
    old.setVersion(14);
    current.setVersion(15);
    Bytes image(3000, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 13);
    folder.write("fw.bin", image);
    const std::string profile = writeProfile(
        "fw.json", R"({"model": "KT350-MK", "firmware": "fw.bin", "firmware_version": 15})");
    const CliRun result =
        run({"provision", profile, "--ports", ports(), "--report", path("fw-report.json")});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_TRUE(old.storage().firmware == image);
    EXPECT_TRUE(current.storage().firmware.empty());
    const json report = readReport("fw-report.json");
    EXPECT_EQ(report["ports"][0]["steps"][1]["result"], "succeeded");
    EXPECT_GE(report["ports"][0]["steps"][1]["bytes"].get<std::size_t>(), image.size());
    EXPECT_EQ(report["ports"][1]["steps"][1]["result"], "skipped");
}

// profile-from reads a display that is set up into a profile that sets up another one
// the same way.
TEST_F(Provision, AProfileFromOneDisplaySetsUpAnother) {
    sim::VirtualDisplay& model = addDisplay(5);
    sim::VirtualDisplay& blank = addDisplay(5);
    const std::vector<std::string> at = {"--port", model.devicePath(), "--baud", "9600"};
    auto send = [&](std::vector<std::string> args) {
        args.insert(args.begin(), at.begin(), at.end());
        EXPECT_EQ(run(args).code, 0);
    };
    send({"welcome1", "CLONED SHOP"});
    send({"play-setting", "2,4", "45", "3"});
    // The line speed goes last in the settings step; the play step after it must
    // follow the display to its new speed.
    send({"display-baud", "19200"});
    ASSERT_TRUE(eventually([&] { return model.baudRate() == 19200; }));
    const CliRun from = run({"profile-from", model.devicePath(), path("cloned.json")});
    ASSERT_EQ(from.code, 0) << from.err;
    EXPECT_FALSE(folder.read("cloned.ini").empty());

    const CliRun result = run({"provision", path("cloned.json"), "--ports", blank.devicePath()});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    EXPECT_TRUE(eventually([&] { return blank.state().settings.lun_time == 3; }));
    const sim::DeviceSettings expected = model.state().settings;
    const sim::DeviceSettings got = blank.state().settings;
    EXPECT_TRUE(got.wel_mess1.starts_with("CLONED SHOP")) << got.wel_mess1;
    EXPECT_TRUE(got.main_str.starts_with(expected.main_str)) << got.main_str;
    EXPECT_EQ(got.pic_reg, 0b1010);
    EXPECT_EQ(got.into_lun_bo, 45);
    EXPECT_EQ(blank.baudRate(), 19200);
}

// A display that does not take the profile's line speed fails its port at the
// settings step, saying at which speed it still answers; nothing more is sent to it
// at a speed it cannot read.
TEST_F(Provision, ADisplayThatKeepsItsSpeedFailsWithTheSpeedItAnswersAt) {
    sim::Faults keepSpeed;
    keepSpeed.keepSpeed = true;
    sim::VirtualDisplay& display = addDisplay(5, keepSpeed);
    folder.write("fast.ini", R"({"Baud_Rate": 1})");
    const std::string profile =
        writeProfile("fast.json", R"({"settings": {"file": "fast.ini", "baud_rate": true},
                         "play": {"pictures": [2], "standby": 30, "interval": 5}})");
    const CliRun result =
        run({"provision", profile, "--ports", ports(), "--report", path("fast-report.json")});
    EXPECT_EQ(result.code, 1) << result.out << result.err;
    const json port = readReport("fast-report.json")["ports"][0];
    EXPECT_EQ(port["result"], "failed");
    EXPECT_EQ(port["error"], "settings: baud rate: the display did not answer at 19200 baud "
                             "after the change (Not found Device : Time out !); it still "
                             "answers at 9600 baud");
    EXPECT_EQ(port["steps"].size(), 2u) << "the play step is not run";
    EXPECT_EQ(display.baudRate(), 9600);
    EXPECT_NE(display.state().settings.lun_time, 5);
}

// Scripts read the displays as JSON: a display that does not answer has a null model
// and an error, and the fields are those of the text.
TEST_F(Provision, InventoryAndTheReadingCommandsPrintJson) {
    sim::Faults silent;
    silent.silent = true;
    sim::VirtualDisplay& named = addDisplay(3);
    addDisplay(0, silent);
    named.setVersion(12);
    const CliRun inventory = run({"inventory", "--ports", ports(), "--json"});
    EXPECT_EQ(inventory.code, 1) << inventory.err;
    const json displaysJson = json::parse(inventory.out);
    ASSERT_EQ(displaysJson["displays"].size(), 2u);
    const json& found = displaysJson["displays"][0];
    EXPECT_EQ(found["port"], named.devicePath());
    EXPECT_EQ(found["model"], "KT350-MKD");
    EXPECT_EQ(found["firmware"], "V12");
    EXPECT_EQ(found["baud"], 9600);
    EXPECT_EQ(found["settings_digest"].get<std::string>().size(), 16u);
    EXPECT_FALSE(found.contains("error"));
    const json& silentJson = displaysJson["displays"][1];
    EXPECT_TRUE(silentJson["model"].is_null());
    EXPECT_TRUE(silentJson["error"].is_string());

    // Another display's settings give another digest; the same settings the same one.
    addDisplay(3).setVersion(12);
    ASSERT_EQ(
        run({"--port", displays[2]->devicePath(), "--baud", "9600", "welcome1", "OTHER"}).code, 0);
    const json two =
        json::parse(run({"inventory", "--ports",
                         named.devicePath() + "," + displays[2]->devicePath(), "--json"})
                        .out);
    EXPECT_NE(two["displays"][0]["settings_digest"], two["displays"][1]["settings_digest"]);
    EXPECT_EQ(two["displays"][0]["settings_digest"], found["settings_digest"]);

    const std::vector<std::string> port = {"--port", named.devicePath()};
    auto jsonOf = [&](std::vector<std::string> args) {
        args.insert(args.begin(), port.begin(), port.end());
        const CliRun result = run(args);
        EXPECT_EQ(result.code, 0) << result.err;
        return json::parse(result.out);
    };
    EXPECT_EQ(jsonOf({"connect", "--json"}),
              json({{"model", "KT350-MKD"}, {"firmware", "V12"}, {"baud", 9600}}));
    EXPECT_EQ(jsonOf({"version", "--json"}), json({{"firmware", "V12"}}));
    EXPECT_EQ(jsonOf({"get-config", "--json"})["settings"]["Baud_Rate"], 0);
}

} // namespace
} // namespace tavisto::testing
