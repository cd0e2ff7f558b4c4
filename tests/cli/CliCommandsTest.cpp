#include "CliFixture.h"
#include "pictures/BmpCodec.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>

namespace tavisto::testing {
namespace {

using namespace std::string_literals;
using ::testing::EndsWith;

struct WireCase {
    std::vector<std::string> args;
    Bytes frame;
};

TEST_F(CliTest, EachCommandSendsItsFrame) {
    displayAt(9600, 5); // KT350-MK
    const std::vector<WireCase> cases = {
        {{"clear"}, wire("0C")},
        {{"text", "AB"}, wire("41 42")},
        {{"text", "AB", "--at", "20", "4"}, wire("1F 24 14 04 41 42")},
        {{"text", "\xC3\xA9"}, wire("82")},                          // é in CP437
        {{"text", "\xC3\xA9", "--codepage", "wcp1252"}, wire("E9")}, // é in 1252
        {{"text", std::string(45, 'x')}, std::string(40, 'x')},
        {{"raw", "0b 20:21", "22"}, wire("0B 20 21 22")},
        {{"brightness", "4"}, wire("1F 58 04")},
        {{"codepage", "CP858"}, wire("02 06 13")},
        {{"codepage", "0x13"}, wire("02 06 13")},
        {{"interchar", "japan"}, wire("02 05 08")},
        {{"interchar", "255"}, wire("02 05 FF")},
        {{"restart"}, wire("02 1D AA 55")},
        {{"factory-reset", "--yes"}, wire("02 07 15 27 27")},
        {{"text-color", "main", "336699"}, wire("02 07 0E 33 66 99")},
        {{"text-color", "header", "#FF0000"}, wire("02 07 0B FF 00 00")},
        {{"background-color", "footer", "0000ff"}, wire("02 07 11 00 00 FF")},
        {{"header-mode", "picture"}, wire("02 07 09")},
        {{"header-mode", "TEXT"}, wire("02 07 0A")},
        {{"main-lines", "4"}, wire("02 07 14 02")},
        {{"main-lines", "2"}, wire("02 07 14 01")},
        {{"main-text", "Hi"}, wire("02 07 18 48 69")},
        {{"welcome1", "Hi"}, wire("02 07 16 06 48 69 00")},
        {{"welcome2", ""}, wire("02 07 16 07 00")},
        {{"scroll", "0x05"}, wire("02 07 16 09 05")},
        {{"command-mode", "12"}, wire("02 43 31 32")},
        {{"command-mode", "auto"}, wire("02 43 31 34")},
        {{"show-picture", "10"}, wire("02 07 1A 0A")},
        {{"picture-selection", "0x3FF"}, wire("02 07 28 03 FF")},
        {{"standby", "120"}, wire("02 07 1C 78")},
        {{"interval", "10"}, wire("02 07 1B 0A")},
        {{"sample", "e0"},
         wire("0B E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF 20 20 20 20 "
              "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF 20 20 20 20")},
        {{"qr-at", "7", "\xC3\xA9", "--align", "left"}, wire("02 07 1E 01 07 E9 00")},
        {{"qr-at", "--align=right", "7", "\xC3\xA9"}, wire("02 07 1E 03 07 E9 00")},
        {{"format", "--yes"}, wire("02 07 05 00")},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.args.front() + " " + std::to_string(testCase.frame.size()));
        std::vector<std::string> args = {"--baud", "9600"};
        args.insert(args.end(), testCase.args.begin(), testCase.args.end());
        const std::size_t before = line.writes().size();
        const CliRun result = run(args);
        EXPECT_EQ(result.code, 0) << result.err;
        EXPECT_EQ(result.out, "OK\n");
        const auto writes = line.writes();
        ASSERT_EQ(writes.size(), before + 1);
        EXPECT_EQ(writes.back(), testCase.frame);
        EXPECT_FALSE(line.isOpen());
    }
}

// Factory reset runs the window's Reset Display: its question needs --yes in a
// script, and a refusal ends with the status format and firmware use too.
// The speed command has no answer: the display is asked for its model at the new
// speed, and "OK" comes only when it answers there.
TEST_F(CliTest, DisplayBaudIsOkOnlyWhenTheDisplayAnswersAtTheNewSpeed) {
    displayAt(9600, 5);
    const CliRun taken = run({"--baud", "9600", "display-baud", "19200"});
    EXPECT_EQ(taken.code, 0) << taken.err;
    EXPECT_EQ(taken.out, "OK\n");
    EXPECT_EQ(line.writes().front(), wire("02 42 31"));
    EXPECT_EQ(line.baudRate(), 19200) << "asked at the new speed";

    sim::Faults keepsSpeed;
    keepsSpeed.keepSpeed = true;
    displayAt(9600, 5).setFaults(keepsSpeed);
    const CliRun kept = run({"--baud", "9600", "display-baud", "1"});
    EXPECT_EQ(kept.code, 1);
    EXPECT_THAT(kept.err, EndsWith("\nthe display did not answer at 19200 baud after the change "
                                   "(Not found Device : Time out !); it still answers at 9600 "
                                   "baud\n"));
}

TEST_F(CliTest, FactoryResetAsksFirstAndRefusalHasItsOwnStatus) {
    displayAt(9600, 5);
    CliRun result = run({"--baud", "9600", "factory-reset"});
    EXPECT_EQ(result.code, cli::kExitNotConfirmed);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, kUsingFakePort +
                              "Are you sure you want to restore factory settings? no (run with "
                              "--yes to confirm)\n");
    EXPECT_TRUE(line.writes().empty());

    result = run({"--baud", "9600", "factory-reset", "--yes"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "OK\n");
    EXPECT_EQ(line.writes(), std::vector<Bytes>{wire("02 07 15 27 27")});

    // Restart asks nothing, as in the window.
    result = run({"--baud", "9600", "restart"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(line.writes().back(), wire("02 1D AA 55"));

    EXPECT_NE(run({"--help"}).out.find(", 3 a question"), std::string::npos);
}

// A font, table or firmware file is checked against the download file's limit, and
// named as a download file, before the port is opened.
TEST_F(CliTest, AnOversizedDownloadFileIsRefusedAsADownloadFile) {
    TempFolder folder;
    folder.write("huge.bin", "");
    const std::string file = (folder.path() / "huge.bin").string();
    std::filesystem::resize_file(file, 16u * 1024 * 1024 + 1);
    const CliRun result = run({"--baud", "9600", "download", "CP437", file});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err,
              "The file \"" + file + "\" is too large for a download file (16 MB at most).\n");
    EXPECT_TRUE(line.events().empty());
}

// With --baud nothing scans first, so the download workflows' own wait finds the
// silent display and says so as the window does, with the port and the speed tried.
TEST_F(CliTest, ASilentDisplayAtAGivenSpeedIsNotFoundForADownload) {
    TempFolder folder;
    folder.write("font.bin", "abc");
    folder.write("logo.bmp", EncodeBmp(Bitmap(8, 8, Rgb{})));
    const std::string font = (folder.path() / "font.bin").string();
    const std::string logo = (folder.path() / "logo.bmp").string();
    const std::string expected = kUsingFakePort +
                                 "Not found the devies!Failed to read data\n"
                                 "No answer on /dev/ttyFAKE0 at 19200 baud: is the display "
                                 "connected, switched on and set to that speed?\n";
    for (const auto& args : std::vector<std::vector<std::string>>{{"download", "CP437", font},
                                                                  {"download-fonts"},
                                                                  {"firmware-update", "--yes"},
                                                                  {"send-picture", "73", logo}}) {
        std::vector<std::string> line_ = {"--baud", "19200"};
        line_.insert(line_.end(), args.begin(), args.end());
        const CliRun result = run(line_);
        EXPECT_EQ(result.code, 1) << args.front();
        EXPECT_EQ(result.err, expected) << args.front();
        EXPECT_EQ(result.out, "");
    }
    const auto writes = line.writes(); // never switched to the transfer speed
    EXPECT_EQ(std::count(writes.begin(), writes.end(), wire("02 07 04 00 01 C2 00")), 0);
}

TEST_F(CliTest, ScansForTheDisplayUnlessTheSpeedIsGiven) {
    displayAt(38400, 6); // KT750-MK
    CliRun result = run({"clear"});
    EXPECT_EQ(result.code, 0) << result.err;
    // The port is tried once, then scanned, then used.
    EXPECT_EQ(openedSpeeds(), (std::vector<int>{9600, 9600, 19200, 38400, 38400}));
    EXPECT_EQ(line.writes().back(), wire("0C"));

    const std::size_t before = line.events().size();
    result = run({"--baud", "38400", "clear"});
    EXPECT_EQ(result.code, 0);
    using K = LineEvent::Kind;
    const std::vector<LineEvent::Kind> kinds = line.kinds();
    EXPECT_EQ(std::vector<K>(kinds.begin() + static_cast<std::ptrdiff_t>(before), kinds.end()),
              (std::vector<K>{K::Open, K::Close, K::Open, K::Write, K::Close})); // no scan

    result = run({"--baud", "9600", "clear"});
    EXPECT_EQ(result.code, 0); // one-shot commands are not confirmed
    result = run({"--baud", "9600", "header-mode", "text"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, kUsingFakePort + "Set Title mode Error : Time out !\n");
}

TEST_F(CliTest, NoDisplayAtAnySpeed) {
    const CliRun result = run({"welcome1", "Hi"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, kUsingFakePort + "Not found Device : Time out !\n");
    EXPECT_EQ(openedSpeeds(), (std::vector<int>{9600, 9600, 19200, 38400, 57600, 115200}));
    EXPECT_EQ(line.writes(), std::vector<Bytes>(5, wire("02 07 16 01")));
}

// connect is the window's Connect workflow with the terminal as its window.
TEST_F(CliTest, ConnectReportsModelFirmwareAndSpeed) {
    displayAt(57600, 5); // KT350-MK
    CliRun result = run({"--port", "/dev/ttyFAKE0", "connect"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Connected to KT350-MK!\nFirmware: V14\nBaud rate: 57600\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(line.writes().back(), wire("02 07 16 02"));
    EXPECT_NE(std::find(line.writes().begin(), line.writes().end(), wire("0C")),
              line.writes().end());

    displayAt(9600, 3, 13); // KT350-MKD
    result = run({"connect"});
    EXPECT_EQ(result.out, "Connected to KT350-MKD!\nFirmware: V13\nBaud rate: 9600\n");
    EXPECT_EQ(result.err, kUsingFakePort +
                              "The current firmware version is lower than the latest version.\n\n"
                              "Please update the firmware version.\n");

    displayAt(115200, 0); // KT350--MKA
    result = run({"connect"});
    EXPECT_EQ(result.out, "Connected to KT350--MKA!\nBaud rate: 115200\n");
    EXPECT_EQ(line.writes().back(), wire("0C"));

    // Found at 115200 while its settings store 38400 (code 2): the link-speed frame for
    // 38400 goes out at 115200, then the port follows.
    displayAt(38400, 0);
    ASSERT_EQ(run({"--baud", "38400", "raw", "02 07 04 00 01 C2 00"}).code, 0);
    ASSERT_EQ(display->baudRate(), 115200);
    result = run({"connect"});
    EXPECT_EQ(result.out, "The display was still at 115200 baud from a transfer that did not "
                          "finish; it is set back to its own speed, 38400 baud.\n"
                          "Connected to KT350--MKA!\nBaud rate: 38400\n");
    const std::vector<Bytes> writes = line.writes();
    const auto switched = std::find(writes.begin(), writes.end(), wire("02 07 04 00 00 96 00"));
    ASSERT_NE(switched, writes.end());
    EXPECT_EQ(*(switched - 1), wire("02 07 16 05"));

    display.reset();
    result = run({"connect"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, kUsingFakePort + "Not found Device : Time out !\n");
}

TEST_F(CliTest, VersionAndConfiguration) {
    sim::DeviceSettings settings;
    settings.wel_mess1 = "Caf\xE9";
    displayAt(9600, 6).device().restore(settings, {}); // KT750-MK
    CliRun result = run({"version"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "V14\n");
    result = run({"get-config"});
    EXPECT_EQ(result.code, 0);
    Bytes text = sim::settingsText(settings);
    EXPECT_EQ(result.out, text.replace(text.find('\xE9'), 1, "\xC3\xA9") + "\n");

    display.reset();
    result = run({"--baud", "9600", "version"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, kUsingFakePort + "Read Version Error !\n");
    result = run({"--baud", "9600", "get-config"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, kUsingFakePort + "Get configuration: Time out !\n");
}

TEST_F(CliTest, TraceLinesGoToStandardError) {
    displayAt(9600, 5);
    const CliRun result =
        run({"--trace", "--port", "/dev/ttyFAKE0", "--baud", "9600", "header-mode", "text"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "OK\n");
    EXPECT_EQ(result.err, "----> 02070A\n<---- 02070A\n");
    EXPECT_EQ(run({"--port", "/dev/ttyFAKE0", "--baud", "9600", "header-mode", "text"}).err, "");
}

// A trace file that fills up is reported; the exit status is still the command's.
TEST_F(CliTest, AFullTraceFileIsReportedWithoutChangingTheOutcome) {
    const std::string full = "tavisto-cli: the trace file /dev/full is incomplete: No space left "
                             "on device\n";
    displayAt(9600, 5);
    CliRun result = run({"--trace-file", "/dev/full", "--port", "/dev/ttyFAKE0", "--baud", "9600",
                         "header-mode", "text"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "OK\n");
    EXPECT_EQ(result.err, full);

    displayAt(19200, 5); // nobody answers at 9600
    result = run({"--trace-file", "/dev/full", "--port", "/dev/ttyFAKE0", "--baud", "9600",
                  "header-mode", "text"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "Set Title mode Error : Time out !\n" + full);
}

TEST_F(CliTest, QrCommandsFollowTheModel) {
    displayAt(9600, 0); // KT350--MKA
    CliRun result = run({"qr-at", "1", "x"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, kUsingFakePort + "KT350--MKA cannot draw a QR code over a picture\n");
    EXPECT_EQ(line.writes(), std::vector<Bytes>(1, wire("02 07 16 01")));

    // A model without an encoder gets a picture of the text at 115200.
    result = run({"qr", "x", "--align", "left"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "OK\n");
    auto writes = line.writes();
    ASSERT_EQ(writes.size(), 2u + 1u + 1u + 18u + 1u + 1u);
    EXPECT_EQ(writes[2], wire("02 07 04 00 01 C2 00"));
    EXPECT_EQ(writes[3], wire("02 07 19 01 00"));
    EXPECT_EQ(writes.back(), wire("02 07 04 00 00 25 80"));

    // Without a scan the display is asked for its model first.
    displayAt(9600, 5); // KT350-MK
    const std::size_t before = line.writes().size();
    result = run({"--baud", "9600", "qr", "x", "--align", "right"});
    EXPECT_EQ(result.code, 0) << result.err;
    writes = line.writes();
    ASSERT_GE(writes.size(), before + 2);
    EXPECT_EQ(writes[writes.size() - 2], wire("02 07 16 01"));
    EXPECT_EQ(writes.back(), wire("02 07 1D 03 00 78 00"));

    displayAt(9600, 1); // KT350--MKB
    EXPECT_EQ(run({"qr-at", "1", "x"}).code, 0);
    EXPECT_EQ(line.writes().back(), wire("02 07 1E 02 01 78 00"));
}

TEST_F(CliTest, QrImageReadsThePictureBeforeThePort) {
    displayAt(9600, 2); // KT350-MKC
    CliRun result = run({"qr-image", "/nonexistent/qr.png"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "The picture \"/nonexistent/qr.png\" does not exist.\n");
    EXPECT_TRUE(line.events().empty());

    displayAt(9600, 5);
    result = run({"qr-image", "/dev/null"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("is not a picture"), std::string::npos) << result.err;
    EXPECT_TRUE(line.events().empty());

    TempFolder folder;
    folder.write("qr.BMP", EncodeBmp(Bitmap(20, 20, Rgb{})));
    const std::string file = (folder.path() / "qr.BMP").string();
    result = run({"qr-image", file});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err,
              kUsingFakePort +
                  "KT350-MK cannot take a QR code as a picture; it draws them itself\n");
    displayAt(9600, 2);
    result = run({"qr-image", file, "--align", "right"});
    EXPECT_EQ(result.code, 0) << result.err;
    const auto writes = line.writes();
    EXPECT_EQ(writes[writes.size() - 21], wire("02 07 19 03 00"));
    EXPECT_EQ(writes[writes.size() - 20], Bytes(256, '\xFF'));

    EXPECT_EQ(run({"sample", "A1"}).code, 2);
    EXPECT_EQ(run({"sample", "0xa0", "x"}).code, 2);
}

} // namespace
} // namespace tavisto::testing
