// tavisto-cli provision, profile-from and inventory against the virtual display's device,
// each display on a fake line of its own, all on the virtual clock. A run takes one
// port at a time (--jobs 1): the one worker thread alone uses the lines and the clock
// until the run joins it, and a transfer's helpers run on that thread.
#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "protocol/ModelTable.h"
#include "tests/app/transfer/InlineThreads.h"
#include "tests/cli/ProvisionFixture.h"
#include "tests/support/SimulatedDisplay.h"

#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace tavisto::testing {
namespace {

using nlohmann::json;

class ProvisionRun : public ProvisionFiles, private link::PortOpener {
protected:
    SimulatedDisplay& addDisplay(int model, sim::Faults faults = {}) {
        auto& line = lines_.emplace_back(
            std::make_unique<FakeLine>(clock_, "/dev/ttyFAKE" + std::to_string(lines_.size())));
        auto& display = displays_.emplace_back(std::make_unique<SimulatedDisplay>(*line, model));
        display->setFaults(faults);
        return *display;
    }

    SimulatedDisplay& display(std::size_t i) { return *displays_[i]; }
    const FakeLine& line(std::size_t i) const { return *lines_[i]; }
    std::string port(std::size_t i) const { return "/dev/ttyFAKE" + std::to_string(i); }

    std::string ports() const {
        std::string list;
        for (std::size_t i = 0; i < lines_.size(); ++i)
            list += (list.empty() ? "" : ",") + port(i);
        return list;
    }

    CliRun run(const std::vector<std::string>& args) {
        const CliRun result = runIn({*this,
                                     clock_,
                                     {},
                                     kLangEnglish,
                                     [](TConnection& connection, BlockingOwnerLoop& loop,
                                        std::function<TTransferEngine&()> engine) {
                                         auto threads =
                                             std::make_unique<InlineThreads>(connection, loop);
                                         threads->engine = std::move(engine);
                                         return threads;
                                     }},
                                    args);
        // The last frame of a one-shot command ends at the display once the line is idle.
        for (auto& display : displays_)
            display->settle();
        return result;
    }

    // The picture a display stores for slot `slot` when it was sent `colour`: raw
    // RGB565 at the slot's address, or a JPEG of the slot's size under its file name.
    static void expectStoredPicture(const SimulatedDisplay& display, int slot,
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

    // No port was opened: nothing happened on any line.
    void expectNoPortOpened() const {
        for (const auto& line : lines_)
            EXPECT_TRUE(line->events().empty()) << "a port was opened";
    }

private:
    int open(const std::string& name, int baudRate, link::PortHandle& port) override {
        for (auto& line : lines_) {
            if (line->open(name, baudRate, port) == link::kOpenOk)
                return link::kOpenOk;
        }
        return link::kOpenFailed;
    }

    VirtualClock clock_;
    std::vector<std::unique_ptr<FakeLine>> lines_;
    std::vector<std::unique_ptr<SimulatedDisplay>> displays_; // after the lines they are on
};

// Four displays of four models; the second stops asking for blocks in the middle of its
// pictures. The other three, before and after it, end up with the settings, pictures
// and play setting; the failing one is reported with its error, and the run exits with
// 1. Run again with --retry-failed, only that port is touched.
TEST_F(ProvisionRun, OneFailingDisplayDoesNotStopTheOthersAndIsRetriedAlone) {
    addDisplay(5); // KT350-MK, named
    sim::Faults hangUp;
    hangUp.hangUpAfterBlocks = 20;
    SimulatedDisplay& failing = addDisplay(2, hangUp); // KT350-MKC, addressed
    addDisplay(1);                                     // KT350--MKB, addressed, small panel
    addDisplay(6);                                     // KT750-MK, named
    const std::vector<std::size_t> healthy = {0, 2, 3};
    const std::string profile = writeProfile("shop.json", kFleetProfile);

    const CliRun first = run(
        {"provision", profile, "--ports", ports(), "--jobs", "1", "--report", path("report.json")});
    EXPECT_EQ(first.code, 1) << first.out << first.err;

    for (std::size_t i : healthy) {
        const SimulatedDisplay& each = display(i);
        const sim::DisplayState& state = each.state();
        EXPECT_TRUE(state.settings.wel_mess1.starts_with("SHOP 42")) << state.settings.wel_mess1;
        EXPECT_TRUE(state.settings.main_str.starts_with("FLEET MAIN TEXT"))
            << state.settings.main_str;
        EXPECT_EQ(state.settings.pic_reg, 0b101);
        EXPECT_EQ(state.settings.into_lun_bo, 30);
        EXPECT_EQ(state.settings.lun_time, 5);
        expectStoredPicture(each, 74, 0x00F43000, "logo_m0.jpg", kRed);
        expectStoredPicture(each, 76, 0x005B7000, "P1.jpg", kBlue);
        EXPECT_EQ(each.baudRate(), 9600);
    }
    EXPECT_EQ(failing.storage().flash.count(0x005B7000), 0u);

    // The report, field by field.
    const json report = readReport("report.json");
    EXPECT_EQ(report["profile"], profile);
    ASSERT_EQ(report["ports"].size(), 4u);
    const std::vector<std::string> models = {"KT350-MK", "KT350-MKC", "KT350--MKB", "KT750-MK"};
    for (std::size_t i = 0; i < 4; ++i) {
        const json& port = report["ports"][i];
        SCOPED_TRACE(models[i]);
        EXPECT_EQ(port["port"], this->port(i));
        EXPECT_EQ(port["model"], models[i]);
        EXPECT_EQ(port["firmware"],
                  FindModelByName(models[i])->reportsFirmware ? json("V14") : json(nullptr));
        EXPECT_GT(port["seconds"].get<double>(), 0.0);
        const json& steps = port["steps"];
        // The failing port stops at its pictures.
        ASSERT_EQ(steps.size(), i != 1 ? 4u : 3u);
        const std::vector<std::string> names = {"identify", "settings", "pictures", "play"};
        for (std::size_t s = 0; s < steps.size(); ++s)
            EXPECT_EQ(steps[s]["step"], names[s]);
        EXPECT_EQ(steps[1]["result"], "succeeded");
        EXPECT_GT(steps[1]["bytes"].get<int>(), 0);
        if (i != 1) {
            EXPECT_EQ(port["result"], "succeeded");
            EXPECT_TRUE(port["error"].is_null());
            for (const json& step : steps) {
                EXPECT_EQ(step["result"], "succeeded");
                EXPECT_TRUE(step["error"].is_null());
            }
        }
    }
    // An addressed model takes its pictures as raw pixels: at least that many bytes went.
    EXPECT_GT(report["ports"][2]["steps"][2]["bytes"].get<int>(), 2 * 480 * 272);
    const json& failed = report["ports"][1];
    EXPECT_EQ(failed["result"], "failed");
    EXPECT_EQ(failed["steps"][2]["result"], "failed");
    EXPECT_TRUE(failed["steps"][2]["error"].is_string());
    EXPECT_EQ(failed["error"], "pictures: " + failed["steps"][2]["error"].get<std::string>());
    // The table names the failing port with its error.
    EXPECT_NE(first.out.find(port(1)), std::string::npos);
    EXPECT_NE(first.out.find(failed["error"].get<std::string>()), std::string::npos);

    // The display is mended; a retry touches only it.
    failing.setFaults({});
    std::vector<std::size_t> eventsBefore;
    for (std::size_t i = 0; i < 4; ++i)
        eventsBefore.push_back(line(i).events().size());
    const CliRun retry = run({"provision", profile, "--retry-failed", path("report.json"), "--jobs",
                              "1", "--report", path("retry.json")});
    EXPECT_EQ(retry.code, 0) << retry.out << retry.err;
    for (std::size_t i : healthy)
        EXPECT_EQ(line(i).events().size(), eventsBefore[i]) << port(i);
    expectStoredPicture(failing, 76, 0x005B7000, "P1.jpg", kBlue);
    // The retry's report still has the ports that had succeeded, as they were and
    // marked as such, so that it alone says where every display stands.
    const json again = readReport("retry.json");
    ASSERT_EQ(again["ports"].size(), 4u);
    for (std::size_t i : healthy) {
        json earlier = report["ports"][i];
        earlier["from_earlier_run"] = true;
        EXPECT_EQ(again["ports"][i], earlier);
    }
    EXPECT_EQ(again["ports"][1]["port"], port(1));
    EXPECT_EQ(again["ports"][1]["result"], "succeeded");
    EXPECT_FALSE(again["ports"][1].contains("from_earlier_run"));
}

// A profile for one model: a display of another model is refused on its port before
// anything but the identification is sent, and the other port is provisioned.
TEST_F(ProvisionRun, AProfileModelThatIsNotConnectedIsRefusedOnThatPortOnly) {
    SimulatedDisplay& wrong = addDisplay(3); // KT350-MKD
    SimulatedDisplay& right = addDisplay(5);
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
TEST_F(ProvisionRun, ABadProfileIsRefusedBeforeAnyPortIsOpened) {
    addDisplay(5);
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
    expectNoPortOpened();
    EXPECT_EQ(run({"profile-check", writeProfile("good.json", kFleetProfile)}).code, 0);
}

// What the run reads and writes is checked before a port is opened: the profile must
// be a file, the earlier report too, and no output may replace an input.
TEST_F(ProvisionRun, TheRunsOwnFilesAreCheckedBeforeAnyPortIsOpened) {
    addDisplay(5);
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
    const CliRun from = run({"profile-from", port(0), path("taken.ini")});
    EXPECT_EQ(from.code, 1);
    EXPECT_NE(from.err.find(path("taken.ini") + ": the settings file"), std::string::npos)
        << from.err;
    EXPECT_EQ(folder.read("taken.ini"), "{}");

    EXPECT_EQ(folder.read("logo.bmp"), logo);
    EXPECT_EQ(folder.read("shop.json"), kFleetProfile);
    expectNoPortOpened();
}

// A firmware file goes only to a display whose version is below the profile's.
TEST_F(ProvisionRun, FirmwareGoesOnlyWhereItIsDue) {
    SimulatedDisplay& old = addDisplay(5);
    SimulatedDisplay& current = addDisplay(5);
    old.setVersion(14);
    current.setVersion(15);
    Bytes image(3000, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 13);
    folder.write("fw.bin", image);
    const std::string profile = writeProfile(
        "fw.json", R"({"model": "KT350-MK", "firmware": "fw.bin", "firmware_version": 15})");
    const CliRun result = run({"provision", profile, "--ports", ports(), "--jobs", "1", "--report",
                               path("fw-report.json")});
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
TEST_F(ProvisionRun, AProfileFromOneDisplaySetsUpAnother) {
    SimulatedDisplay& model = addDisplay(5);
    SimulatedDisplay& blank = addDisplay(5);
    const std::vector<std::string> at = {"--port", port(0), "--baud", "9600"};
    auto send = [&](std::vector<std::string> args) {
        args.insert(args.begin(), at.begin(), at.end());
        EXPECT_EQ(run(args).code, 0);
    };
    send({"welcome1", "CLONED SHOP"});
    send({"play-setting", "2,4", "45", "3"});
    // The line speed goes last in the settings step; the play step after it must
    // follow the display to its new speed.
    send({"display-baud", "19200"});
    ASSERT_EQ(model.baudRate(), 19200);
    const CliRun from = run({"profile-from", port(0), path("cloned.json")});
    ASSERT_EQ(from.code, 0) << from.err;
    EXPECT_FALSE(folder.read("cloned.ini").empty());

    const CliRun result = run({"provision", path("cloned.json"), "--ports", port(1)});
    EXPECT_EQ(result.code, 0) << result.out << result.err;
    const sim::DeviceSettings& expected = model.state().settings;
    const sim::DeviceSettings& got = blank.state().settings;
    EXPECT_EQ(got.lun_time, 3);
    EXPECT_TRUE(got.wel_mess1.starts_with("CLONED SHOP")) << got.wel_mess1;
    EXPECT_TRUE(got.main_str.starts_with(expected.main_str)) << got.main_str;
    EXPECT_EQ(got.pic_reg, 0b1010);
    EXPECT_EQ(got.into_lun_bo, 45);
    EXPECT_EQ(blank.baudRate(), 19200);
}

// A display that does not take the profile's line speed fails its port at the
// settings step, saying at which speed it still answers; nothing more is sent to it
// at a speed it cannot read.
TEST_F(ProvisionRun, ADisplayThatKeepsItsSpeedFailsWithTheSpeedItAnswersAt) {
    sim::Faults keepSpeed;
    keepSpeed.keepSpeed = true;
    SimulatedDisplay& display = addDisplay(5, keepSpeed);
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

// Scripts read the displays as JSON: the fields of the inventory are those of the text,
// another display's settings give another digest and the same settings the same one.
TEST_F(ProvisionRun, InventoryAndTheReadingCommandsPrintJson) {
    SimulatedDisplay& named = addDisplay(3);
    named.setVersion(12);
    addDisplay(3).setVersion(12);
    auto jsonOf = [&](std::vector<std::string> args) {
        const CliRun result = run(args);
        EXPECT_EQ(result.code, 0) << result.err;
        return json::parse(result.out);
    };
    const json first = jsonOf({"inventory", "--ports", port(0), "--json"});
    ASSERT_EQ(first["displays"].size(), 1u);
    const json& found = first["displays"][0];
    EXPECT_EQ(found["port"], port(0));
    EXPECT_EQ(found["model"], "KT350-MKD");
    EXPECT_EQ(found["firmware"], "V12");
    EXPECT_EQ(found["baud"], 9600);
    EXPECT_EQ(found["settings_digest"].get<std::string>().size(), 16u);
    EXPECT_FALSE(found.contains("error"));

    const json same = jsonOf({"inventory", "--ports", port(1), "--json"})["displays"][0];
    EXPECT_EQ(same["settings_digest"], found["settings_digest"]);
    ASSERT_EQ(run({"--port", port(1), "--baud", "9600", "welcome1", "OTHER"}).code, 0);
    const json other = jsonOf({"inventory", "--ports", port(1), "--json"})["displays"][0];
    EXPECT_NE(other["settings_digest"], found["settings_digest"]);

    const std::vector<std::string> at = {"--port", port(0)};
    auto readJson = [&](std::vector<std::string> args) {
        args.insert(args.begin(), at.begin(), at.end());
        return jsonOf(args);
    };
    EXPECT_EQ(readJson({"connect", "--json"}),
              json({{"model", "KT350-MKD"}, {"firmware", "V12"}, {"baud", 9600}}));
    EXPECT_EQ(readJson({"version", "--json"}), json({{"firmware", "V12"}}));
    EXPECT_EQ(readJson({"get-config", "--json"})["settings"]["Baud_Rate"], 0);
}

} // namespace
} // namespace tavisto::testing
