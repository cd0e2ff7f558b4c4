// tavisto-cli download on the real serial layer, against the virtual display.
#include "cli/Cli.h"
#include "link/PosixSerialPort.h"
#include "sim/VirtualDisplay.h"
#include "tests/settings/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavisto::testing {
namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

class CliDownload : public ::testing::Test {
protected:
    void startDisplay(int model) {
        sim::SimOptions options;
        options.model = model;
        options.baudRate = 9600;
        options.version = 14;
        display = std::make_unique<sim::VirtualDisplay>(options);
        std::string error;
        ASSERT_TRUE(display->start(error)) << error;
    }

    CliRun run(const std::vector<std::string>& args) {
        const cli::CliEnvironment environment{
            link::posixPortOpener(), systemClock(),
            [](std::vector<std::string>&, std::string&) { return false; }, kLangEnglish};
        std::vector<std::string> line = {"--port", display->devicePath(), "--baud", "9600"};
        line.insert(line.end(), args.begin(), args.end());
        std::ostringstream out;
        std::ostringstream err;
        const int code = cli::RunCli(line, out, err, environment);
        return {code, out.str(), err.str()};
    }

    std::string writeFile(const std::string& name, std::size_t size) {
        Bytes data(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>(i * 7 + i / 251);
        folder.write(name, data);
        const std::string path = (folder.path() / name).string();
        contents = data;
        return path;
    }

    TempFolder folder;
    std::unique_ptr<sim::VirtualDisplay> display;
    Bytes contents;
};

TEST_F(CliDownload, AddressedItemIsStoredAtItsAddressAndTheLinkComesBack) {
    startDisplay(0); // KT350--MKA
    const std::string file = writeFile("font.bin", 700);
    const CliRun result = run({"download", "cp850", file});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "CP850 [Succeed]\nDone! [Succeed 1 / Failed 0]\n");
    EXPECT_EQ(display->storage().flash.at(0x00032000), contents);
    // The display is back at the operator's speed.
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(CliDownload, NamedItemByPositionIsStoredUnderItsFileName) {
    startDisplay(5); // KT350-MK
    const std::string file = writeFile("table.bin", 513);
    const CliRun result = run({"download", "92", file});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Done! [Succeed 1 / Failed 0]\n");
    EXPECT_EQ(display->storage().files.at("big52gbk.bin"), contents);
}

TEST_F(CliDownload, RefusedItemsAndFilesSendNothing) {
    startDisplay(0);
    const std::string file = writeFile("font.bin", 300);

    // An item the model does not take is logged and fails the command.
    CliRun result = run({"download", "CP437_40x40", file});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "CP437_40x40 [Failed]:not suport\n");
    EXPECT_EQ(result.out, "Done! [Succeed 0 / Failed 0]\n");

    display->clearLog();
    // Picture slots, unknown items and missing files are refused before the port.
    EXPECT_EQ(run({"download", "Picture_1", file}).code, 2);
    EXPECT_EQ(run({"download", "0", file}).code, 2);
    EXPECT_EQ(run({"download", "nosuchfont", file}).code, 2);
    result = run({"download", "CP437", (folder.path() / "missing.bin").string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("missing.bin"), std::string::npos);
    result = run({"download", "CP437", writeFile("empty.bin", 0)});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("nothing to send"), std::string::npos);
    EXPECT_TRUE(display->receivedFrames().empty());
    EXPECT_TRUE(display->storage().flash.empty());
}

// Firmware and format erase what the display had: without --yes (and no terminal to
// ask on) nothing is sent; a program without a firmware image says so and fails.
TEST_F(CliDownload, FirmwareAndFormatNeedConsentAndARealImage) {
    startDisplay(5); // KT350-MK
    const std::string file = writeFile("fw.bin", 1200);
    CliRun result = run({"download", "firmware", file});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("\"" + file + "\" (1,200 bytes) as the firmware of the KT350-MK"),
              std::string::npos)
        << result.err;
    result = run({"format"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("format the storage? no (run with --yes to confirm)"),
              std::string::npos)
        << result.err;
    result = run({"firmware-update", "--yes"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("carries no firmware image for KT350-MK"), std::string::npos)
        << result.err;
    // Only the model query that --baud leaves to the command reached the display.
    for (const Bytes& frame : display->receivedFrames())
        EXPECT_EQ(frame, Bytes("\x02\x07\x16\x01", 4));
    EXPECT_EQ(display->baudRate(), 9600);

    result = run({"download", "firmware", file, "--yes"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(display->storage().firmware, contents);
}

} // namespace
} // namespace tavisto::testing
