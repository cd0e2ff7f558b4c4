#include "app/transfer/TransferEngine.h"

#include "protocol/Crc16.h"
#include "protocol/DisplayCommands.h"
#include "protocol/DownloadTable.h"
#include "protocol/FileTransfer.h"
#include "protocol/Hex.h"
#include "protocol/LinkControl.h"
#include "protocol/Session.h"

#include <algorithm>
#include <stdexcept>

namespace tavisto {

namespace {

constexpr Millis kJobPause{100};
constexpr Millis kStartPause{100};
constexpr const char* kUnsupportedAddress = "0xFFFFFFFF";
constexpr const char* kPortGone =
    "the port is gone (the display was unplugged or its end of the line closed)";
constexpr const char* kLeftAtTransferSpeed =
    "The display may still be at 115200 baud; Connect sets it back.";

int blockCount(std::uint32_t length) {
    return static_cast<int>(length / kBlockSize + 1);
}

// The pieces of a named file wholly on the wire: the last, shorter one counts once
// the whole file is.
int piecesOnWire(std::uint32_t bytes, std::uint32_t length) {
    if (bytes >= length)
        return static_cast<int>((length + kBlockSize - 1) / kBlockSize);
    return static_cast<int>(bytes / kBlockSize);
}

bool lineGone(TConnection& connection) {
    return connection.SessionPort && connection.SessionPort->hungUp();
}

} // namespace

std::string CountText(int count, int total) {
    return std::to_string(count) + " of  " + std::to_string(total);
}

std::string DoneText(int succeeded, int failed) {
    return "Done! [Succeed " + std::to_string(succeeded) + " / Failed " + std::to_string(failed) +
           "]";
}

TTransferEngine::TTransferEngine(TConnection& connection, TOperator& op, TOwnerQueue& queue,
                                 TTransferThreads& threads, TJobSources sources)
    : connection_(connection), op_(op), threads_(threads), sources_(std::move(sources)),
      timOut(queue.makeTimer([this] { timOutTimer(); })),
      tmr1(queue.makeTimer([this] { tmr1Timer(); })) {
    SetDownListNull();
}

TTransferEngine::~TTransferEngine() = default;

void TTransferEngine::SetDownListNull() {
    DownList.fill(false);
    DownList[kDownListEnd] = true;
}

void TTransferEngine::Mark(int position) {
    if (position >= 1 && position < kDownListEnd)
        DownList[static_cast<std::size_t>(position)] = true;
}

bool TTransferEngine::IsMarked(int position) const {
    return position >= 0 && position <= kDownListEnd &&
           DownList[static_cast<std::size_t>(position)];
}

int TTransferEngine::GetDownListTrueTotal() const {
    return static_cast<int>(std::count(DownList.begin(), DownList.end() - 1, true));
}

std::vector<int> TTransferEngine::Unsent() const {
    std::vector<int> rows;
    for (int position = std::max(DownPos, 1); position < kDownListEnd; ++position)
        if (DownList[static_cast<std::size_t>(position)])
            rows.push_back(position);
    return rows;
}

// The bytes the row at `position` puts on the wire in this queue: none for a row the
// model does not take, one without data, or one refused for its size.
std::uint32_t TTransferEngine::jobSize(int position) const {
    if (model_->isAddressed() && std::string(DownFileAt(position).Address) == kUnsupportedAddress)
        return 0;
    const TJobData data = LoadJobData(position, *model_, IsDownResource, chosenData_, sources_);
    if (data.outcome != TJobData::Outcome::Loaded)
        return 0;
    if (model_->isAddressed() && !AddressedRoomProblem(position, data.bytes.size()).empty())
        return 0;
    return static_cast<std::uint32_t>(data.bytes.size());
}

void TTransferEngine::setStatusObserver(std::function<void(const TTransferStatus&)> observer) {
    observer_ = std::move(observer);
}

void TTransferEngine::setStopRequest(std::function<bool()> stopRequested) {
    stopRequest_ = std::move(stopRequested);
}

void TTransferEngine::StartQueue(const TQueueStart& start) {
    if (!start.model)
        throw std::invalid_argument("no display model");
    model_ = start.model;
    DownTotal = GetDownListTrueTotal();
    Statistics_S = 0;
    Statistics_F = 0;
    jobOutcomes_.clear();
    stopCause_.clear();
    DownCount = 0;
    IsDownResource = start.fromResources;
    chosenData_ = start.chosenData;
    DownPos = std::clamp(start.firstPosition, 1, kDownListEnd);
    Fwait = 0;
    completed_ = false;
    interrupted_ = false;
    stopRequested_ = false;
    // The time left is the whole queue's: every job's size is known before the first.
    queueBytesTotal_ = 0;
    queueBytesBefore_ = 0;
    for (int position = DownPos; position < kDownListEnd; ++position)
        if (DownList[static_cast<std::size_t>(position)])
            queueBytesTotal_ += jobSize(position);
    queueStarted_ = false;
    tmr1->start(kSecondsInterval);
    NextDownload();
}

void TTransferEngine::NextDownload() {
    for (;;) {
        while (!DownList[static_cast<std::size_t>(DownPos)])
            ++DownPos;
        if (DownPos != kDownListEnd && stopAsked()) {
            stopInterrupted();
            return;
        }
        std::string message;
        LcdWaitReady(connection_, message, true);
        if (DownPos == kDownListEnd) {
            finish();
            return;
        }
        const TDownFiles& row = DownFileAt(DownPos);
        const std::string name = row.Name;
        if (model_->isAddressed() && std::string(row.Address) == kUnsupportedAddress) {
            jobFailed(name, "not suport");
            ++DownPos;
            continue;
        }
        TJobData data = LoadJobData(DownPos, *model_, IsDownResource, chosenData_, sources_);
        if (data.outcome == TJobData::Outcome::Skip) {
            ++DownPos;
            continue;
        }
        if (data.outcome == TJobData::Outcome::Failed) {
            jobFailed(name, data.reason);
            ++Statistics_F;
            ++DownPos;
            continue;
        }
        // On the addressed models a file larger than its item's room would overwrite
        // the items stored after it; the single download refuses it up front, and any
        // queue fails the job here before a byte is sent.
        if (model_->isAddressed()) {
            const std::string problem = AddressedRoomProblem(DownPos, data.bytes.size());
            if (!problem.empty()) {
                jobFailed(name, problem);
                ++Statistics_F;
                ++DownPos;
                continue;
            }
        }
        startJob(row, std::move(data.bytes));
        return;
    }
}

void TTransferEngine::startJob(const TDownFiles& row, Bytes data) {
    FileData = std::move(data);
    FileAddressHex = std::string(row.Address).substr(2, 8);
    FileCrc = Crc16(FileData);
    FileCrcBytes = Crc16Bytes(FileCrc);
    FileLength = static_cast<std::uint32_t>(FileData.size());
    FileLengthHex = IntToHexDigits(FileLength, 8);
    connection_.clock().sleep(kJobPause);
    blocksDone_ = 0;
    bytesOnWire_ = 0;
    jobStart_ = connection_.clock().now();
    lastAdvance_ = jobStart_;
    if (!queueStarted_) {
        queueStart_ = jobStart_;
        queueStarted_ = true;
    }
    // The last point before the job's first frame: once a named file or a firmware
    // image is announced it must go whole.
    if (stopAsked()) {
        stopInterrupted();
        return;
    }

    if (model_->firmwareWakeUp && DownPos == kFirmwarePosition)
        startFirmware();
    else if (model_->isAddressed())
        startAddressed(row);
    else
        startNamed(row);
}

void TTransferEngine::startFirmware() {
    std::string message;
    if (!LcdFirmwareHandshake(connection_, message)) {
        abandon(message);
        return;
    }
    beginReceiving();
    op_.SetProgressMax(blockCount(FileLength), 0);
    op_.ShowProgressItem("Firmware Updating......", CountText(1, 1), 0);
    LcdSendFirmwareAnnounce(connection_, FileLength, FileCrc, message);
    timOut->start(kWatchdogInterval);
}

void TTransferEngine::startAddressed(const TDownFiles& row) {
    std::string message;
    if (!LcdTransferSetup(connection_, FileAddressHex, FileLengthHex, message)) {
        abandon(message);
        return;
    }
    beginReceiving();
    showJob(row);
    connection_.clock().sleep(kStartPause);
    LcdSendStart(connection_, message);
    timOut->start(kWatchdogInterval);
}

void TTransferEngine::startNamed(const TDownFiles& row) {
    std::string message;
    if (!LcdMakeFile(connection_, row.FileName, FileLength, FileCrc, message)) {
        abandon(message);
        return;
    }
    showJob(row);
    phase_ = Phase::Named;
    threads_.startNamedWorker(TNamedJob{&FileData, FileCrc});
}

// Bytes left from an earlier job cannot belong to this one.
void TTransferEngine::beginReceiving() {
    // A firmware image goes whole once it has begun: the display would be left
    // without one.
    answerer_.Begin(connection_, FileData,
                    DownPos == kFirmwarePosition ? std::function<bool()>() : stopRequest_);
    phase_ = Phase::Addressed;
    threads_.startReceiver(answerer_);
}

void TTransferEngine::showJob(const TDownFiles& row) {
    op_.SetProgressMax(blockCount(FileLength), DownPos);
    ++DownCount;
    op_.ShowProgressItem(std::string("Download ") + row.Name, CountText(DownCount, DownTotal),
                         DownPos);
}

void TTransferEngine::Received(const Bytes& bytes) {
    if (phase_ == Phase::Addressed)
        TransmitSwap(bytes);
    threads_.receivedHandled();
}

void TTransferEngine::TransmitSwap(const Bytes& sRead) {
    const TBlockAnswerer::TAnswered answered = answerer_.TransmitSwap(sRead);
    if (answered.blocks > 0)
        BlocksAnswered(answered.lastBlock);
    if (answered.finished)
        TransmitExp(*answered.finished);
    if (answered.withheld)
        Interrupt();
}

// Progress may come coalesced: only the last block answered counts.
void TTransferEngine::BlocksAnswered(std::uint32_t lastBlock) {
    if (phase_ != Phase::Addressed)
        return;
    blocksDone_ = static_cast<int>(std::min<std::uint32_t>(lastBlock + 1, 0x7FFFFFFF));
    op_.SetProgress(blocksDone_, DownPos);
    lastAdvance_ = connection_.clock().now();
    timOut->start(kWatchdogInterval);
}

void TTransferEngine::TransmitExp(const TDisplayFrame& frame) {
    if (phase_ != Phase::Addressed)
        return;
    if (frame.kind == 9) {
        timOut->stop();
        threads_.stopReceiver();
        jobEnded(FinishedFrameCrc(frame) == FileCrc);
    }
}

void TTransferEngine::NamedProgress(std::uint32_t bytesOnWire) {
    if (phase_ != Phase::Named || bytesOnWire <= bytesOnWire_)
        return;
    bytesOnWire_ = std::min(bytesOnWire, FileLength);
    lastAdvance_ = connection_.clock().now();
    const int pieces = piecesOnWire(bytesOnWire_, FileLength);
    if (pieces == blocksDone_)
        return;
    blocksDone_ = pieces;
    op_.SetProgress(pieces, DownPos);
}

void TTransferEngine::NamedVerdict(const TNamedOutcome& outcome) {
    if (phase_ != Phase::Named)
        return;
    threads_.joinNamedWorker();
    if (outcome.failure == TNamedOutcome::Failure::PortClosed ||
        outcome.failure == TNamedOutcome::Failure::StoppedReading)
        lineFailed(outcome);
    else
        jobEnded(outcome.stored);
}

// The line went away or stopped taking bytes part-way through a file. The rest of
// the queue cannot reach the display (each job would first wait through every probe
// of LcdWaitReady), and a display part-way through the file would take the
// link-speed command as data; so the queue stops here without that command, and the
// box names the item and the cause under the failing step's own message.
void TTransferEngine::lineFailed(const TNamedOutcome& outcome) {
    phase_ = Phase::Idle;
    const std::string name = DownFileAt(DownPos).Name;
    const std::string cause = NamedFailureCause(outcome.failure);
    jobFailed(name, cause);
    ++Statistics_F;
    stopRequested_ = false;
    timOut->stop();
    LcdCloseSession(connection_);
    stopSeconds();
    std::string text =
        (outcome.message.empty() ? "" : outcome.message + "\n") + name + ": " + cause;
    if (outcome.failure == TNamedOutcome::Failure::StoppedReading)
        text += std::string("\n") + kLeftAtTransferSpeed;
    stopCause_ = text;
    op_.ShowMsgBox(text, kMbIconError);
    op_.actBtnEnableExecute();
    op_.EndProgress();
}

void TTransferEngine::jobEnded(bool stored) {
    phase_ = Phase::Idle;
    queueBytesBefore_ += FileLength;
    // Font rows log both outcomes; picture, table and firmware rows log a failure, so
    // that the summary's failed count can be traced to an item.
    const std::string name = DownFileAt(DownPos).Name;
    if (!stored)
        jobFailed(name, "CRC check error");
    else if (DownPos <= kLastFontPosition)
        op_.ShowLogOnRichEdit(name + " [" + "Succeed" + "]", false);
    if (stored)
        jobOutcomes_.push_back({name, true, ""});
    ++(stored ? Statistics_S : Statistics_F);
    ++DownPos;
    if (stopRequested_) {
        stopInterrupted();
        return;
    }
    NextDownload();
}

// A job that was not stored: its red log line, and its outcome.
void TTransferEngine::jobFailed(const std::string& name, const std::string& cause) {
    op_.ShowLogOnRichEdit(name + " [" + "Failed" + "]:" + cause, true);
    jobOutcomes_.push_back({name, false, cause});
}

void TTransferEngine::stopJob() {
    timOut->stop();
    if (phase_ == Phase::Addressed)
        threads_.stopReceiver();
    else if (phase_ == Phase::Named)
        threads_.joinNamedWorker();
    phase_ = Phase::Idle;
}

void TTransferEngine::finish() {
    stopJob();
    completed_ = true;
    RestoreLink(connection_);
    stopSeconds();
    op_.ShowMsgBox(DoneText(Statistics_S, Statistics_F), kMbIconInformation);
    op_.actBtnEnableExecute();
    op_.EndProgress();
}

void TTransferEngine::abandon(const std::string& message) {
    stopJob();
    // A start step that failed on a line that went away says so under its message.
    std::string text = message;
    if (lineGone(connection_) && DownPos < kDownListEnd) {
        text += '\n';
        text += DownFileAt(DownPos).Name;
        text += ": ";
        text += NamedFailureCause(TNamedOutcome::Failure::PortClosed);
    }
    RestoreLink(connection_);
    stopSeconds();
    stopCause_ = text;
    op_.ShowMsgBox(text, kMbIconError);
    op_.actBtnEnableExecute();
    op_.EndProgress();
}

bool TTransferEngine::Interrupt() {
    if (!Running())
        return true;
    stopRequested_ = true;
    if (phase_ == Phase::Named || DownPos == kFirmwarePosition)
        return false;
    stopInterrupted();
    return true;
}

void TTransferEngine::stopInterrupted() {
    stopJob();
    stopRequested_ = false;
    interrupted_ = true;
    RestoreLink(connection_);
    stopSeconds();
    op_.actBtnEnableExecute();
    op_.EndProgress();
}

void TTransferEngine::timOutTimer() {
    timOut->stop();
    if (phase_ != Phase::Addressed)
        return;
    stopJob();
    const bool gone = lineGone(connection_);
    // The display is still at the transfer speed: set it back to the stored rate
    // before the session closes, so that the next command finds it.
    RestoreLink(connection_);
    stopSeconds();
    op_.actBtnEnableExecute();
    op_.EndProgress();
    stopCause_ = SummaryText + "Time Out!\n" + stallCause(gone);
    op_.ShowMsgBox(stopCause_, kMbIconError);
}

// The item, how far it got and why it stopped, under the time-out box's text.
std::string TTransferEngine::stallCause(bool portGone) const {
    std::string cause = DownPos < kDownListEnd ? DownFileAt(DownPos).Name : "The file";
    cause += ": ";
    const std::string progress =
        std::to_string(blocksDone_) + " of " + std::to_string(blockCount(FileLength)) + " blocks";
    if (portGone) {
        cause += kPortGone;
        cause += " after ";
        cause += progress;
        return cause + ".";
    }
    cause += "no block request for ";
    cause += std::to_string(kWatchdogInterval.count() / 1000);
    cause += " s after ";
    cause += progress;
    return cause + "; the display stopped answering (check its power and cable, then try again).";
}

// The seconds stop before the queue's last box opens: an observer that keeps a count
// of its own stops it too.
void TTransferEngine::stopSeconds() {
    tmr1->stop();
    if (observer_)
        observer_(Status());
}

void TTransferEngine::tmr1Timer() {
    ++Fwait;
    if (observer_)
        observer_(Status());
}

TTransferStatus TTransferEngine::Status() const {
    TTransferStatus status;
    status.running = Running();
    status.seconds = Fwait;
    if (phase_ == Phase::Idle)
        return status;
    status.item = DownFileAt(DownPos).Name;
    status.blocksTotal = blockCount(FileLength);
    status.blocksDone = std::min(blocksDone_, status.blocksTotal);
    status.bytesTotal = FileLength;
    status.bytesDone = phase_ == Phase::Named
                           ? bytesOnWire_
                           : std::min<std::uint32_t>(static_cast<std::uint32_t>(blocksDone_) *
                                                         static_cast<std::uint32_t>(kBlockSize),
                                                     FileLength);
    const TimePoint now = connection_.clock().now();
    const double elapsed = std::chrono::duration<double>(now - jobStart_).count();
    if (elapsed > 0 && status.bytesDone > 0)
        status.bytesPerSecond = status.bytesDone / elapsed;
    // Once the whole named file has crossed, the display only has its verdict to give.
    const bool waitingForVerdict = phase_ == Phase::Named && bytesOnWire_ >= FileLength;
    const auto quiet = now - lastAdvance_;
    status.quietSeconds =
        static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(quiet).count());
    status.notAnswering = !waitingForVerdict && quiet >= kNotAnsweringAfter;
    // Time left counts only while the display keeps taking the file.
    if (status.bytesPerSecond > 0 && !status.notAnswering)
        status.secondsLeft =
            static_cast<int>((status.bytesTotal - status.bytesDone) / status.bytesPerSecond + 0.5);
    // The queue's rate takes in what each job costs besides its bytes (set-up, pauses,
    // the display's verdict), so many small items are not counted as quick.
    status.queueBytesTotal = std::max(queueBytesTotal_, queueBytesBefore_ + status.bytesTotal);
    status.queueBytesDone = queueBytesBefore_ + status.bytesDone;
    const double queueElapsed = std::chrono::duration<double>(now - queueStart_).count();
    if (queueElapsed > 0 && status.queueBytesDone > 0 && !status.notAnswering) {
        const double rate = status.queueBytesDone / queueElapsed;
        status.queueSecondsLeft =
            static_cast<int>((status.queueBytesTotal - status.queueBytesDone) / rate + 0.5);
    }
    return status;
}

} // namespace tavisto
