// tavisto-cli's transfer commands against the virtual display's device on the fake
// line, the transfer engine on the command's thread and the virtual clock.
#include "cli/shell/Cli.h"
#include "cli/shell/CliCommand.h"
#include "pictures/PictureConvert.h"
#include "tests/app/transfer/InlineThreads.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

// The commands at 9600 baud on the fake port, a transfer's helpers on the command's
// thread.
class CliDownload : public CliTest {
protected:
    CliDownload() {
        transferThreads = [](TConnection& connection, BlockingOwnerLoop& loop,
                             std::function<TTransferEngine&()> engine) {
            auto threads = std::make_unique<InlineThreads>(connection, loop);
            threads->engine = std::move(engine);
            return threads;
        };
    }

    CliRun run(const std::vector<std::string>& args) {
        std::vector<std::string> command = {"--port", "/dev/ttyFAKE0", "--baud", "9600"};
        command.insert(command.end(), args.begin(), args.end());
        return CliTest::run(command);
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
    Bytes contents;
};

TEST_F(CliDownload, AddressedItemIsStoredAtItsAddressAndTheLinkComesBack) {
    displayAt(9600, 0); // KT350--MKA
    const std::string file = writeFile("font.bin", 700);
    const CliRun result = run({"download", "cp850", file, "--yes"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "CP850 [Succeed]\nDone! [Succeed 1 / Failed 0]\n");
    EXPECT_EQ(display->storage().flash.at(0x00032000), contents);
    // The display is back at the operator's speed.
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(CliDownload, NamedItemByPositionIsStoredUnderItsFileName) {
    displayAt(9600, 5); // KT350-MK
    const std::string file = writeFile("table.bin", 513);
    const CliRun result = run({"download", "92", file, "--yes"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Done! [Succeed 1 / Failed 0]\n");
    EXPECT_EQ(display->storage().files.at("big52gbk.bin"), contents);
}

TEST_F(CliDownload, RefusedItemsAndFilesSendNothing) {
    displayAt(9600, 0);
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
    // A file larger than the item's room would overwrite CP860 and the items after it.
    EXPECT_TRUE(display->receivedFrames().empty());
    result = run({"download", "CP850", writeFile("big.bin", 102401)});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "CP850 has room for 102,400 bytes on this display (from 0x00032000 up "
                          "to CP860 at 0x0004B000), but the file has 102,401 bytes. It is not "
                          "sent, so that CP860 and the items after it are not overwritten.\n");
    // Only the questions whether a display answers and which model it is went out:
    // the room depends on the model.
    EXPECT_EQ(display->receivedFrames(), std::vector<Bytes>(2, Bytes("\x02\x07\x16\x01", 4)));
    EXPECT_EQ(display->baudRate(), 9600);
    EXPECT_TRUE(display->storage().flash.empty());
}

TEST_F(CliDownload, SendPictureFitsEachImageToItsSlotAndSendsThemInOneQueue) {
    displayAt(9600, 0); // KT350--MKA: 480 x 272, no guest slot
    const std::string red = (folder.path() / "red.bmp").string();
    const std::string blue = (folder.path() / "blue.bmp").string();
    ASSERT_TRUE(SaveResult(Bitmap(200, 100, Rgb{255, 0, 0}), red));
    ASSERT_TRUE(SaveResult(Bitmap(64, 64, Rgb{0, 0, 255}), blue));

    // The guest slot is refused before any picture goes.
    CliRun result = run({"send-picture", "74", red, "86", blue});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "The KT350--MKA has no slot 86 (Pic_Guest).\n");
    EXPECT_TRUE(display->storage().flash.empty());

    result = run({"send-picture", "74", red, "73", blue});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Done! [Succeed 2 / Failed 0]\n");
    const auto flash = display->storage().flash;
    Bytes logo, start;
    for (int i = 0; i < 120 * 40; ++i)
        logo += Bytes("\x00\xF8", 2);
    for (int i = 0; i < 480 * 272; ++i)
        start += Bytes("\x1F\x00", 2);
    EXPECT_EQ(flash.at(0x00F43000), logo);
    EXPECT_EQ(flash.at(0x004FB000), start);

    EXPECT_EQ(run({"send-picture", "74", red, "74", blue}).code, 2);
    EXPECT_EQ(run({"send-picture", "72", red}).code, 2);
    EXPECT_EQ(run({"send-picture", "74"}).code, 2);
}

TEST_F(CliDownload, PlaySettingSendsSelectionStandbyAndInterval) {
    displayAt(9600, 5);
    const std::size_t before = display->count(sim::LogKind::Received);
    const CliRun result = run({"play-setting", "1,2,10", "0", "10"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "Done!\n");
    ASSERT_TRUE(display->settle());
    ASSERT_EQ(display->count(sim::LogKind::Received), before + 3);
    const auto frames = display->receivedFrames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(std::vector<Bytes>(frames.end() - 3, frames.end()),
              (std::vector<Bytes>{Bytes("\x02\x07\x28\x02\x03", 5), Bytes("\x02\x07\x1C\x00", 4),
                                  Bytes("\x02\x07\x1B\x0A", 4)}));
    EXPECT_EQ(run({"play-setting", "none", "30", "2"}).code, 0);
    EXPECT_EQ(run({"play-setting", "11", "30", "2"}).code, 2);
    EXPECT_EQ(run({"play-setting", "1,", "30", "2"}).code, 2);
    EXPECT_EQ(run({"play-setting", "1", "30", "0"}).code, 2);
}

// Firmware and format erase what the display had: without --yes (and no terminal to
// ask on) nothing is sent; a program without a firmware image says so and fails.
TEST_F(CliDownload, FirmwareAndFormatNeedConsentAndARealImage) {
    displayAt(9600, 5); // KT350-MK
    const std::string file = writeFile("fw.bin", 1200);
    CliRun result = run({"download", "firmware", file});
    EXPECT_EQ(result.code, cli::kExitNotConfirmed);
    EXPECT_NE(result.err.find("\"" + file + "\" (1,200 bytes) as the firmware of the KT350-MK"),
              std::string::npos)
        << result.err;
    result = run({"format"});
    EXPECT_EQ(result.code, cli::kExitNotConfirmed);
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
