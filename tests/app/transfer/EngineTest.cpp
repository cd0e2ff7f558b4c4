// The transfer job engine on one thread: the simulated display on the fake line,
// virtual time, the helper threads replaced by the loop.
#include "app/storage/DownloadLink.h"
#include "app/transfer/ProgressText.h"
#include "app/transfer/QueueRun.h"
#include "tests/app/ModelRows.h"
#include "tests/app/transfer/EngineFixture.h"

namespace tavisto::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::StartsWith;

class AddressedEngineTest : public EngineTest {};

TEST_F(AddressedEngineTest, SendsAFontByBlocksAndRestoresTheLink) {
    const Bytes font = pattern(300);
    resources["CP850_480X272"] = font;
    run(kMka, {6});
    ASSERT_TRUE(finished);

    EXPECT_EQ(stored().flash[0x00032000], font);
    const auto writes = line.writes();
    // Setup with address 0x00032000 and length 300, the start command, two blocks
    // (the second padded with zeros), then the link set back to 9600.
    EXPECT_THAT(writes, Contains(wire("02 10 00 03 20 00 00 00 01 2C")));
    EXPECT_THAT(writes, Contains(wire("02 07 27 27 27")));
    EXPECT_THAT(writes, Contains(expectedBlock(0, font.substr(0, 256))));
    EXPECT_THAT(writes, Contains(expectedBlock(1, font.substr(256))));
    EXPECT_EQ(writes.back(), wire("02 07 04 00 00 25 80"));
    EXPECT_EQ(line.events().back().kind, LineEvent::Close);
    EXPECT_EQ(line.baudRate(), 9600);

    EXPECT_THAT(op.status, Contains("max 2 6"));
    EXPECT_THAT(op.status, Contains("item Download CP850|1 of  1|6"));
    EXPECT_THAT(op.status, Contains("progress 2 6"));
    EXPECT_THAT(logLines(), ElementsAre("log CP850 [Succeed]"));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 1 / Failed 0]", 64}));
    EXPECT_EQ(op.status.back(), "end");
    EXPECT_EQ(op.status[op.status.size() - 2], "enable");
}

TEST_F(AddressedEngineTest, UnsupportedAndEmptyRowsAreSkippedWithoutCounting) {
    resources["CP737_480X272"] = pattern(100);
    // CP437_40x40 has no address on this model; CP850 has no image; slot 74 is empty.
    run(kMka, {2, 3, 6, 78});
    ASSERT_TRUE(finished);
    EXPECT_THAT(logLines(),
                ElementsAre("log! CP437_40x40 [Failed]:not suport", "log CP737 [Succeed]"));
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
    // The same as data: every row that ran or was refused, none that was skipped.
    EXPECT_THAT(engine.JobOutcomes(), ElementsAre(TOutcome{"CP437_40x40", false, "not suport"},
                                                  TOutcome{"CP737", true, ""}));
    EXPECT_EQ(engine.StopCause(), "");
    EXPECT_THAT(op.status, Contains("item Download CP737|1 of  4|3"));
}

TEST_F(AddressedEngineTest, AFileLargerThanItsRoomIsNotSentAndTheQueueGoesOn) {
    // CP850 at 0x32000 has 102,400 bytes before CP860; one byte more would overwrite it.
    resources["CP850_480X272"] = pattern(0x19001);
    resources["CP852_480X272"] = pattern(20);
    run(kMka, {6, 7});
    ASSERT_TRUE(finished);
    ASSERT_EQ(logLines().size(), 2u);
    EXPECT_THAT(logLines()[0], StartsWith("log! CP850 [Failed]:CP850 has room for 102,400 bytes"));
    EXPECT_EQ(logLines()[1], "log CP852 [Succeed]");
    EXPECT_EQ(stored().flash.count(0x00032000), 0u);
    EXPECT_EQ(stored().flash[0x0015E000], pattern(20));
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 1]");
}

TEST_F(AddressedEngineTest, ACrcMismatchIsLoggedAndTheQueueGoesOn) {
    resources["CP850_480X272"] = pattern(10);
    resources["CP852_480X272"] = pattern(20);
    slots.place(76, Bitmap(480, 272, Rgb{1, 2, 3}));
    faults.wrongFileCrc = true;
    run(kMka, {6, 7, 80});
    ASSERT_TRUE(finished);
    // A picture row logs its failure too, though not its success.
    EXPECT_THAT(logLines(), ElementsAre("log! CP850 [Failed]:CRC check error",
                                        "log! CP852 [Failed]:CRC check error",
                                        "log! Picture_1 [Failed]:CRC check error"));
    EXPECT_THAT(engine.JobOutcomes(), ElementsAre(TOutcome{"CP850", false, "CRC check error"},
                                                  TOutcome{"CP852", false, "CRC check error"},
                                                  TOutcome{"Picture_1", false, "CRC check error"}));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 0 / Failed 3]", 64}));
}

TEST_F(AddressedEngineTest, FramesThatArriveTogetherOrBehindGarbageAreAllHandled) {
    const Bytes font = pattern(1000);
    resources["CP850_480X272"] = font;
    faults.repeatRequest = 1;
    // Noise, and a frame of an unknown kind, before every display frame.
    faults.transferGarbage = Bytes("\x00\x41\x43", 3) + "ACT=7,L=004,xyzw" + "ACT=0,L=0G4,abcd";
    run(kMka, {6});
    ASSERT_TRUE(finished);
    EXPECT_EQ(stored().flash[0x00032000], font);
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
    // Well inside the watchdog's ten seconds.
    EXPECT_LT(clock.elapsed(), 3s);
}

TEST_F(AddressedEngineTest, TheWatchdogAbandonsAStalledQueueAndSetsTheDisplayBack) {
    resources["CP850_480X272"] = pattern(2000);
    resources["CP852_480X272"] = pattern(20);
    faults.hangUpAfterBlocks = 2;
    engine.SummaryText = "Download: \r\n\r\n";
    run(kMka, {6, 7});
    ASSERT_TRUE(finished);
    // The box names the item, how far it got and what to do.
    EXPECT_EQ(op.lastBox(),
              (Box{"Download: \r\n\r\nTime Out!\nCP850: no block request for 10 s after 2 of 8 "
                   "blocks; the display stopped answering (check its power and cable, then try "
                   "again).",
                   16}));
    EXPECT_EQ(engine.StopCause(), op.lastBox().text);
    EXPECT_TRUE(engine.JobOutcomes().empty());
    EXPECT_THAT(op.status, Contains("enable"));
    // The second row is never started; the display is told the stored rate again.
    EXPECT_THAT(line.writes(), Not(Contains(wire("02 10 00 15 E0 00 00 00 00 14"))));
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
    EXPECT_FALSE(line.isOpen());
    // Ten seconds after the last block was answered.
    const auto& events = line.events();
    const auto lastBlock = std::find_if(events.rbegin(), events.rend(), [](const LineEvent& e) {
        return e.kind == LineEvent::Write && e.bytes.size() == 274;
    });
    const auto restore = std::find_if(events.rbegin(), events.rend(), [](const LineEvent& e) {
        return e.kind == LineEvent::Write && e.bytes == wire("02 07 04 00 00 25 80");
    });
    EXPECT_GE(restore->at - lastBlock->at, 10s);
    EXPECT_LT(restore->at - lastBlock->at, 10500ms);
}

// A stop asked for between blocks: the display gets no block after it, is set back
// to its speed, and the next row is never started.
TEST_F(AddressedEngineTest, AStopRequestIsSeenBeforeTheNextBlock) {
    resources["CP850_480X272"] = pattern(2000);
    resources["CP852_480X272"] = pattern(20);
    engine.setStopRequest([this] { return blocksTaken() >= 3; });
    run(kMka, {6, 7});
    ASSERT_TRUE(finished);
    EXPECT_TRUE(engine.Interrupted());
    EXPECT_EQ(blocksTaken(), 3);
    EXPECT_THAT(line.writes(), Not(Contains(wire("02 10 00 15 E0 00 00 00 00 14"))));
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
    EXPECT_EQ(engine.Succeeded() + engine.Failed(), 0);
}

// The time left is the whole queue's, from the bytes of every item still to go at the
// rate so far, not only the current item's: near the end of the first of two items it
// comes close to the time the queue then really took.
TEST_F(AddressedEngineTest, TheTimeLeftCountsEveryItemStillToGo) {
    resources["CP850_480X272"] = pattern(20000);
    resources["CP852_480X272"] = pattern(60000);
    faults.replyDelay = 20ms; // about 12.8 KB/s of blocks, near the real line's rate
    std::vector<TTransferStatus> ticks;
    engine.setStatusObserver([&ticks](const TTransferStatus& s) { ticks.push_back(s); });
    run(kMka, {6, 7});
    ASSERT_TRUE(finished);
    ASSERT_GE(ticks.size(), 3u);
    const TTransferStatus& first = ticks[1]; // the first second is mostly the set-up
    ASSERT_EQ(first.item, "CP850");
    EXPECT_EQ(first.queueBytesTotal, 80000u);
    const int took = ticks.back().seconds - first.seconds;
    EXPECT_NEAR(first.queueSecondsLeft, took, 1 + took / 5);
    EXPECT_GT(first.queueSecondsLeft, 2 * first.secondsLeft);
    const int left = first.queueSecondsLeft;
    EXPECT_EQ(TimeLeftText(first), std::to_string(left / 60) + ":" + (left % 60 < 10 ? "0" : "") +
                                       std::to_string(left % 60) + " left");
}

// Once the display has asked for nothing for two seconds, the progress stops
// counting down and says so instead.
TEST_F(AddressedEngineTest, AStalledDisplayIsShownAsNotAnswering) {
    resources["CP850_480X272"] = pattern(2000);
    faults.hangUpAfterBlocks = 2;
    std::vector<TTransferStatus> ticks;
    engine.setStatusObserver([&ticks](const TTransferStatus& s) { ticks.push_back(s); });
    run(kMka, {6});
    ASSERT_TRUE(finished);
    ASSERT_GE(ticks.size(), 5u);
    EXPECT_FALSE(ticks[0].notAnswering);
    EXPECT_EQ(TimeLeftText(ticks[0]).empty(), false);
    const TTransferStatus& late = ticks[4];
    EXPECT_TRUE(late.notAnswering);
    EXPECT_EQ(TimeLeftText(late), "");
    EXPECT_EQ(RateAndProgressText(late), RateText(late) + ", the display is not answering (" +
                                             std::to_string(late.quietSeconds) + " s)");
    EXPECT_GE(late.quietSeconds, 4);
}

TEST_F(AddressedEngineTest, AWrongSetupEchoAbandonsTheQueue) {
    resources["CP850_480X272"] = pattern(10);
    resources["CP852_480X272"] = pattern(10);
    faults.wrongEcho = true;
    run(kMka, {6, 7});
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.lastBox(), (Box{"Download service setup failed !", 16}));
    const auto writes = line.writes();
    EXPECT_EQ(std::count_if(writes.begin(), writes.end(),
                            [](const Bytes& w) { return w.size() == 10 && w[0] == 2; }),
              1);
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
    EXPECT_EQ(op.status.back(), "end");
}

TEST_F(AddressedEngineTest, PictureSlotsGoAsRawPixelsOfTheSlotSize) {
    Bitmap picture(200, 50, Rgb{255, 0, 0});
    slots.place(74, picture);
    run(kMka, {78, 79});
    ASSERT_TRUE(finished);
    // 120 x 40 pixels, two bytes each, red is F800 sent low byte first.
    const Bytes pixels = stored().flash[0x00F43000];
    ASSERT_EQ(pixels.size(), 120u * 40 * 2);
    EXPECT_EQ(pixels.substr(0, 4), wire("00 F8 00 F8"));
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
}

class FirmwareEngineTest : public EngineTest {
protected:
    FirmwareEngineTest() : EngineTest(kMkc) {}
};

TEST_F(FirmwareEngineTest, WakesTheDisplayAndAnnouncesTheImage) {
    const Bytes image = pattern(700, 3);
    resources["KT350MK"] = image;
    run(kMkc, {93});
    ASSERT_TRUE(finished);
    EXPECT_EQ(stored().firmware, image);
    const std::uint16_t crc = sim::crc16(image);
    const Bytes announce = withCrc("ACT=1,L=002," + be32(700) + static_cast<char>(crc >> 8) +
                                   static_cast<char>(crc & 0xFF));
    EXPECT_THAT(line.writes(), Contains(wire("07 07 07 07")));
    EXPECT_THAT(line.writes(), Contains(announce));
    EXPECT_THAT(op.status, Contains("item Firmware Updating......|1 of  1|0"));
    EXPECT_THAT(op.status, Contains("max 3 0"));
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
}

TEST_F(FirmwareEngineTest, ASilentDisplayFailsTheWakeUpAfterItsLimit) {
    resources["KT350MK"] = pattern(10);
    faults.silent = true;
    run(kMkc, {93});
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.lastBox(), (Box{"Upgrade Failed: Time out 1!", 16}));
    const auto& events = line.events();
    const auto wakeUp = std::ranges::find(events, wire("07 07 07 07"), &LineEvent::bytes);
    ASSERT_NE(wakeUp, events.end());
    EXPECT_GT(clock.elapsed() - wakeUp->at, 8640ms);
}

TEST_F(FirmwareEngineTest, AModelWithoutAnImageReportsTheFailure) {
    run(kMkc, {93});
    ASSERT_TRUE(finished);
    EXPECT_THAT(logLines(), ElementsAre("log! firmware [Failed]:no firmware image for KT350-MKC"));
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 0 / Failed 1]");
}

class NamedEngineTest : public EngineTest {
protected:
    NamedEngineTest() : EngineTest(kMk) {}
};

TEST_F(NamedEngineTest, AnnouncesTheFileAndPushesItInPieces) {
    const Bytes font = pattern(512);
    resources["CP850_800X480"] = font;
    resources["CP437_40X40_800X480"] = pattern(5);
    run(kMk, {2, 6});
    ASSERT_TRUE(finished);
    EXPECT_EQ(stored().files["850_80x40.bin"], font);
    EXPECT_EQ(stored().files["437_40x40.bin"], pattern(5));
    const std::string crc = std::to_string(sim::crc16(font));
    EXPECT_THAT(line.writes(), Contains(wire("02 07 05 01") + "850_80x40.bin,512," + crc + "\n"));
    EXPECT_THAT(line.writes(), Contains(font.substr(256)));
    EXPECT_THAT(op.status, Contains("max 3 6"));
    EXPECT_THAT(op.status, Contains("item Download CP850|2 of  2|6"));
    EXPECT_THAT(op.status, Contains("progress 2 6"));
    EXPECT_THAT(logLines(), ElementsAre("log CP437_40x40 [Succeed]", "log CP850 [Succeed]"));
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 2 / Failed 0]");
}

// The fake line takes the whole file at once, as a driver with room does; the
// position must still follow what can have crossed the wire at 115200 baud.
TEST_F(NamedEngineTest, ProgressNeverRunsAheadOfTheWire) {
    const Bytes font = pattern(102400);
    resources["CP850_800X480"] = font;
    run(kMk, {6});
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 1 / Failed 0]");
    ASSERT_FALSE(threads.wireReports.empty());
    for (const auto& [bytes, at] : threads.wireReports)
        EXPECT_LE(bytes, at.count() * 11520 / 1'000'000) << "at " << at.count() << " us";
    EXPECT_EQ(threads.wireReports.back().first, font.size());
    // About nine seconds on the wire, reported at least every 100 ms.
    EXPECT_GE(threads.wireReports.size(), 80u);
    // The bar climbs in small steps to the last piece instead of filling at once.
    const auto steps = std::count_if(op.status.begin(), op.status.end(), [](const std::string& s) {
        return s.rfind("progress ", 0) == 0;
    });
    EXPECT_GE(steps, 80);
    EXPECT_THAT(op.status, Contains("progress 400 6"));
}

TEST_F(NamedEngineTest, ARefusedMakeFileAbandonsTheQueue) {
    resources["CP850_800X480"] = pattern(10);
    faults.refuseMakeFile = true;
    run(kMk, {6});
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.lastBox(), (Box{"Make Flie failed !", 16}));
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
}

TEST_F(NamedEngineTest, AWrongCrcTextCountsAsFailed) {
    resources["CP850_800X480"] = pattern(10);
    faults.wrongFileCrc = true;
    run(kMk, {6});
    ASSERT_TRUE(finished);
    EXPECT_THAT(logLines(), ElementsAre("log! CP850 [Failed]:CRC check error"));
    EXPECT_EQ(op.lastBox().text, "Done! [Succeed 0 / Failed 1]");
}

// A stop asked for after the workflow switched the link, before the queue's first
// frame: no Make File goes out (a named file, once announced, must go whole) and the
// display is set back to its speed.
TEST_F(NamedEngineTest, AStopRequestIsSeenBeforeMakeFile) {
    resources["CP850_800X480"] = pattern(4000);
    resources["CP437_40X40_800X480"] = pattern(5);
    engine.setStopRequest([] { return true; });
    run(kMk, {2, 6});
    ASSERT_TRUE(finished);
    EXPECT_TRUE(engine.Interrupted());
    EXPECT_TRUE(stored().files.empty());
    for (const Bytes& written : line.writes())
        EXPECT_FALSE(written.starts_with(wire("02 07 05 01"))) << "Make File was sent";
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
    EXPECT_FALSE(line.isOpen());
}

TEST_F(NamedEngineTest, AStopRequestBetweenFilesLeavesTheNextOneUnannounced) {
    resources["CP850_800X480"] = pattern(4000);
    resources["CP437_40X40_800X480"] = pattern(5);
    engine.setStopRequest([this] { return !stored().files.empty(); });
    run(kMk, {2, 6});
    ASSERT_TRUE(finished);
    EXPECT_TRUE(engine.Interrupted());
    EXPECT_EQ(stored().files.size(), 1u);
    EXPECT_EQ(stored().files.count("437_40x40.bin"), 1u);
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
}

// The queue runner with the single download's own start: the link switch, then the
// queue. A stop asked for once the port is at the transfer speed sends no Make File.
class QueueRunTest : public NamedEngineTest {
protected:
    TQueueOutcome runSingle(int position) {
        return RunQueue(
            loop, engine, 1,
            [this, position] {
                if (!PrepareDownloadLink(connection, op))
                    return false;
                engine.SetDownListNull();
                engine.Mark(position);
                TTransferEngine::TQueueStart start;
                start.model = FindModel(kMk);
                start.fromResources = true;
                start.firstPosition = position;
                return StartDownloadQueue(connection, op, engine, start, TProgressKind::ClearLog);
            },
            watch);
    }
    bool makeFileSent() const {
        return std::ranges::any_of(line.writes(), [](const Bytes& written) {
            return written.starts_with(wire("02 07 05 01"));
        });
    }

    TQueueWatch watch;
};

TEST_F(QueueRunTest, AStopAfterTheLinkSwitchSendsNoMakeFile) {
    resources["CP850_800X480"] = pattern(4000);
    watch.stopRequested = [this] {
        return line.baudRate() == 115200;
    };
    EXPECT_EQ(runSingle(6), TQueueOutcome::Interrupted);
    EXPECT_FALSE(makeFileSent());
    EXPECT_TRUE(stored().files.empty());
    EXPECT_EQ(line.writes().back(), wire("02 07 04 00 00 25 80"));
    EXPECT_FALSE(line.isOpen());
}

TEST_F(QueueRunTest, AStopBeforeTheStartSendsNothing) {
    resources["CP850_800X480"] = pattern(4000);
    const std::size_t before = line.writes().size();
    watch.stopRequested = [] {
        return true;
    };
    EXPECT_EQ(runSingle(6), TQueueOutcome::Interrupted);
    EXPECT_EQ(line.writes().size(), before);
}

TEST_F(NamedEngineTest, AnEmptyQueueGoesStraightToTheEnd) {
    run(kMk, {});
    ASSERT_TRUE(finished);
    EXPECT_EQ(op.boxes, (std::vector<Box>{{"Done! [Succeed 0 / Failed 0]", 64}}));
    EXPECT_EQ(line.writes(),
              (std::vector<Bytes>{wire("02 07 16 01"), wire("02 07 04 00 00 25 80")}));
}

} // namespace
} // namespace tavisto::testing
