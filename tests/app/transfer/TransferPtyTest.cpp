// Single-item downloads through the real serial layer, the engine's receiver and
// worker threads and a blocking owner loop, against the virtual display on a
// pseudo-terminal: what only a real line shows (the port going away part-way, a line
// that takes nothing more, an interrupt racing the receiver's thread). The rest runs
// on the virtual clock (TransferSimTest), the watchdog of a vanished port among it.
#include "app/storage/SingleDownload.h"
#include "app/transfer/BlockingOwnerLoop.h"
#include "app/transfer/NamedWorker.h"
#include "app/transfer/TransferRunner.h"
#include "link/PosixSerialPort.h"
#include "sim/runtime/VirtualDisplay.h"
#include "tests/app/ModelRows.h"
#include "tests/app/transfer/LogLines.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::EndsWith;

Bytes pattern(std::size_t size) {
    Bytes bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 256) & 0xFF);
    return bytes;
}

class TransferPtyTest : public ::testing::Test {
protected:
    void startDisplay(int model, const sim::Faults& faults = {}) {
        sim::SimOptions options;
        options.model = model;
        options.baudRate = 9600;
        options.faults = faults;
        display = std::make_unique<sim::VirtualDisplay>(options);
        std::string error;
        ASSERT_TRUE(display->start(error)) << error;
        connection.CurrentPortName = display->devicePath();
        connection.CurrentBaudRate = 9600;
    }

    // Starts the download of one item from a file holding `content`.
    bool start(int model, int position, const Bytes& content) {
        folder.write("item.bin", content);
        return btn_CharacterSetDownSingleClick(connection, op, FindModel(model), runner, position,
                                               (folder.path() / "item.bin").string());
    }

    bool finish(Millis limit = 60s) {
        return loop.runUntil([this] { return !runner.engine().Running(); }, limit);
    }

    std::vector<std::string> logLines() const { return LogLines(op); }

    TempFolder folder;
    std::unique_ptr<sim::VirtualDisplay> display;
    TConnection connection;
    RecordingOperator op;
    BlockingOwnerLoop loop;
    TTransferRunner runner{connection, op, loop, TJobSources{}};
};

// The receiver answers block requests on its own thread: once the job is
// interrupted, no block may follow the command that sets the display back to its
// stored speed (the line is FIFO, so a block written before the stop arrives first).
TEST_F(TransferPtyTest, NoBlockIsWrittenAfterAnInterruptedAddressedJobStops) {
    sim::Faults faults;
    faults.pacing = true; // about two seconds for the file at 115200 baud
    startDisplay(kMka, faults);
    ASSERT_TRUE(start(kMka, 6, pattern(20000)));
    ASSERT_TRUE(
        loop.runUntil([this] { return display->count(sim::LogKind::Received) >= 12; }, 20s));
    EXPECT_TRUE(runner.engine().Interrupt());
    EXPECT_FALSE(runner.engine().Running());
    ASSERT_TRUE(display->waitUntilQuiet(5s));
    std::this_thread::sleep_for(300ms);
    const auto log = display->log();
    const auto back = std::find_if(log.begin(), log.end(), [](const sim::LogEntry& entry) {
        return entry.text.find("display now at 9600 baud") != std::string::npos;
    });
    ASSERT_NE(back, log.end());
    // What the display took in (or could not) after that; its own requests and notes
    // do not count.
    for (auto it = back + 1; it != log.end(); ++it) {
        if (it->kind == sim::LogKind::Answered || it->kind == sim::LogKind::Note)
            continue;
        EXPECT_EQ(it->bytes.find("ACT=0,L=100"), Bytes::npos) << it->text;
        EXPECT_EQ(it->text.find("block "), std::string::npos) << it->text;
        EXPECT_EQ(it->text.find("115200 baud not understood"), std::string::npos) << it->text;
    }
    EXPECT_EQ(display->baudRate(), 9600);
    EXPECT_FALSE(connection.SessionPort);
}

// A named file whose display goes away part-way: the item fails with that cause at
// once, not as a CRC error once the whole file's time on the wire has passed, and
// the queue stops there.
TEST_F(TransferPtyTest, ADisplayThatGoesAwayMidFileIsReportedAsThePortClosing) {
    sim::Faults faults;
    faults.pacing = true; // about five seconds for the file at 115200 baud
    startDisplay(kMk, faults);
    ASSERT_TRUE(start(kMk, 6, pattern(60000)));
    ASSERT_TRUE(loop.runUntil([this] { return runner.engine().Status().bytesDone >= 8192; }, 20s));
    display->stop();
    ASSERT_TRUE(finish(60s));
    EXPECT_THAT(logLines(), ElementsAre("log! CP850 [Failed]:the port closed"));
    EXPECT_THAT(op.lastBox().text, EndsWith("CP850: the port closed"));
    EXPECT_EQ(op.lastBox().flags, 16);
    EXPECT_EQ(op.status.back(), "end");
    EXPECT_FALSE(connection.SessionPort);
}

// A line that takes no more bytes (a display that stopped reading) ends the data
// phase with that cause once the write gives up, not as a CRC verdict.
TEST(NamedDataPhase, ALineThatTakesNothingMoreIsReportedAsTheDisplayStoppedReading) {
    PtyPair pty;
    TConnection connection;
    std::string message;
    ASSERT_EQ(LcdOpenSession(connection, pty.path(), 115200, message), 1);
    auto* posix = dynamic_cast<link::PosixSerialPort*>(connection.SessionPort.get());
    ASSERT_NE(posix, nullptr);
    testing::FillLineNobodyReads(posix->fd());
    const TNamedOutcome outcome = RunNamedDataPhase(connection, Bytes(10, 'd'), 0, 115200, {});
    EXPECT_FALSE(outcome.stored);
    EXPECT_EQ(outcome.failure, TNamedOutcome::Failure::StoppedReading);
    EXPECT_EQ(NamedFailureCause(outcome.failure), "the display stopped reading");
    EXPECT_EQ(outcome.message.rfind("3: ", 0), 0u) << outcome.message;
}

} // namespace
} // namespace tavisto::testing
