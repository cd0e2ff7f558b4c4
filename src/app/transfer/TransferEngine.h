#pragma once

#include "app/Operator.h"
#include "app/Outcome.h"
#include "app/transfer/BlockAnswerer.h"
#include "app/transfer/JobSources.h"
#include "app/transfer/NamedWorker.h"
#include "app/transfer/OwnerQueue.h"
#include "link/Connection.h"
#include "protocol/DownloadTable.h"
#include "protocol/ModelTable.h"
#include "protocol/TransferFrames.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavisto {

inline constexpr int kDownListEnd = 94; // the end marker of the job list
inline constexpr int kTransferBaudRate = 115200;
inline constexpr Millis kWatchdogInterval{10000};
inline constexpr Millis kSecondsInterval{1000};
// A display that has asked for no block (addressed) or taken no byte (named) for
// this long counts as not answering in the progress display.
inline constexpr Millis kNotAnsweringAfter{2000};

// A named job's data phase as the engine hands it to a worker.
struct TNamedJob {
    const Bytes* data = nullptr; // the engine's FileData, untouched until the verdict
    std::uint16_t crc = 0;
};

// The helper threads of the engine, provided by its runner: a receiver that watches
// the session port during an addressed job, and a worker that runs a named job's
// data phase and hands back NamedProgress and NamedVerdict. The receiver feeds what
// arrives to `answerer` itself (answering block requests on its own thread) and
// hands the engine BlocksAnswered and the finished frame (TransmitExp); or it hands
// the bytes to TTransferEngine::Received, which feeds them on the owner's thread.
class TTransferThreads {
public:
    virtual ~TTransferThreads() = default;
    virtual void startReceiver(TBlockAnswerer& answerer) = 0;
    // Returns once the receiver no longer touches the port or the answerer.
    virtual void stopReceiver() = 0;
    // The batch handed over has been consumed; the next may come.
    virtual void receivedHandled() = 0;
    virtual void startNamedWorker(const TNamedJob& job) = 0;
    // Returns once the worker no longer touches the port.
    virtual void joinNamedWorker() = 0;
};

// How far the queue has got, for a progress display (rate and time left).
struct TTransferStatus {
    bool running = false;
    int seconds = 0;     // Fwait
    std::string item;    // the current row's name
    int blocksDone = 0;  // of the current job
    int blocksTotal = 0; // FileLength div 256 + 1
    std::uint32_t bytesDone = 0;
    std::uint32_t bytesTotal = 0;
    double bytesPerSecond = 0; // of the current job so far; 0 before it is known
    int secondsLeft = -1;      // of the current job; -1 while unknown or not answering
    // The whole queue: the bytes of every job it sends (the current one included), those
    // sent so far, and the time the rest needs at the rate of the queue so far (-1 while
    // unknown or not answering).
    std::uint64_t queueBytesTotal = 0;
    std::uint64_t queueBytesDone = 0;
    int queueSecondsLeft = -1;
    bool notAnswering = false; // no block request, or no byte taken, for kNotAnsweringAfter
    int quietSeconds = 0;      // since the display last asked for or took anything
};

// "N of  M": the count text of the status bar (two spaces after "of").
std::string CountText(int count, int total);
// "Done! [Succeed N / Failed M]".
std::string DoneText(int succeeded, int failed);

// The transfer job engine: the job list and the queue that sends its marked rows,
// one job at a time, by the model's transfer style. It lives on its owner's thread
// and is driven by events: a workflow's start (NextDownload), bytes received,
// a named worker's progress and verdict, and the two timers.
class TTransferEngine {
public:
    TTransferEngine(TConnection& connection, TOperator& op, TOwnerQueue& queue,
                    TTransferThreads& threads, TJobSources sources);
    ~TTransferEngine();
    TTransferEngine(const TTransferEngine&) = delete;
    TTransferEngine& operator=(const TTransferEngine&) = delete;

    // ---- The job list. -----------------------------------------------------
    void SetDownListNull();
    void Mark(int position); // 1..93
    bool IsMarked(int position) const;
    int GetDownListTrueTotal() const;
    // The marked rows the queue has not sent (from the current position on): after an
    // interrupted queue, what it did not do; the row it stopped in counts.
    std::vector<int> Unsent() const;

    // ---- Starting a queue (the workflow's contract). -------------------------
    // After SetDownListNull, Mark, BeginProgress and actBtnDisableExecute: sets
    // DownTotal, zeroes the counters, takes the model, the data source and the
    // first position, starts the seconds counter and calls NextDownload.
    struct TQueueStart {
        const DisplayModel* model = nullptr; // the connected model; required
        bool fromResources = false;          // IsDownResource
        Bytes chosenData; // the operator's file, read once by the workflow, when not from resources
        int firstPosition = 1;
    };
    void StartQueue(const TQueueStart& start);

    // Runs the next marked row from DownPos on, or finishes the queue.
    void NextDownload();

    // ---- Events on the owner's thread. ----------------------------------------
    void Received(const Bytes& bytes);               // from the receiver
    void BlocksAnswered(std::uint32_t lastBlock);    // from the receiver
    void NamedProgress(std::uint32_t bytesOnWire);   // from the named worker
    void NamedVerdict(const TNamedOutcome& outcome); // from the named worker
    void timOutTimer();
    std::string stallCause(bool portGone) const;
    void tmr1Timer();

    // Feeds received bytes to the frame splitter on the owner's thread: block
    // requests are answered, then progress and the finished frame acted on.
    void TransmitSwap(const Bytes& sRead);
    // Acts on the display's download-finished frame (other kinds are answered by
    // the frame splitter and ignored here).
    void TransmitExp(const TDisplayFrame& frame);

    // ---- State. ---------------------------------------------------------------
    bool Running() const { return phase_ != Phase::Idle; }
    // Stops a running queue at the next safe point (the operator interrupted it): an
    // addressed job at once, between blocks; a named file or a firmware image once it
    // has gone whole, since a display part-way through taking one would read the
    // link-speed command as data. Then the display and the port go back to the
    // operator's speed and the session closes. No box is shown; the caller says what
    // happened. True when the queue stopped at once.
    bool Interrupt();
    bool Interrupted() const { return interrupted_; }
    int Succeeded() const { return Statistics_S; }
    int Failed() const { return Statistics_F; }
    // Each job of the last queue as it ended, in order: the item's name, whether it was
    // stored and, when not, why (the text after "]:" of its red log line). An item the
    // model does not support is listed as failed, as its log line says.
    const std::vector<TOutcome>& JobOutcomes() const { return jobOutcomes_; }
    // Why the last queue stopped before its end, as its error box says it (a time-out,
    // the line gone, a start step that failed); empty when it did not.
    const std::string& StopCause() const { return stopCause_; }
    // The last queue ran to its end ("Done!"), rather than being abandoned.
    bool Completed() const { return completed_; }
    // Where the jobs' bytes come from (a workflow checks for an image before it starts).
    const TJobSources& Sources() const { return sources_; }
    TTransferStatus Status() const;
    // Called on every tick of the seconds counter while a queue runs, and once more
    // (not running) when the queue ends and the counter stops, before any box.
    void setStatusObserver(std::function<void(const TTransferStatus&)> observer);
    // Asked before every step that sends anything (the next item, a job's first
    // frame, each block of an addressed job): once it says yes, the queue stops there
    // as Interrupt stops it. Asked on the receiver's thread too, so it must be safe to
    // call from any thread. Unset, only Interrupt stops a queue.
    void setStopRequest(std::function<bool()> stopRequested);

    // The heading of the time-out box, "Download: \r\n\r\n" for the font download.
    std::string SummaryText;

private:
    enum class Phase { Idle, Addressed, Named };

    void startJob(const TDownFiles& row, Bytes data);
    void startFirmware();
    void startAddressed(const TDownFiles& row);
    void startNamed(const TDownFiles& row);
    void beginReceiving();
    void showJob(const TDownFiles& row);
    void stopJob();
    void jobEnded(bool stored);
    void jobFailed(const std::string& name, const std::string& cause);
    void finish();
    void abandon(const std::string& message);
    void lineFailed(const TNamedOutcome& outcome);
    void stopInterrupted();
    void stopSeconds();
    std::uint32_t jobSize(int position) const;
    bool stopAsked() const { return stopRequest_ && stopRequest_(); }

    TConnection& connection_;
    TOperator& op_;
    TTransferThreads& threads_;
    TJobSources sources_;
    std::unique_ptr<TOwnerTimer> timOut;
    std::unique_ptr<TOwnerTimer> tmr1;
    std::function<void(const TTransferStatus&)> observer_;
    std::function<bool()> stopRequest_;

    std::array<bool, kDownListEnd + 1> DownList{};
    int DownPos = 1;
    int DownTotal = 0;
    int DownCount = 0;
    int Statistics_S = 0;
    int Statistics_F = 0;
    int Fwait = 0;
    bool IsDownResource = false;
    Bytes chosenData_;
    const DisplayModel* model_ = &DisplayModels[0];

    Bytes FileData;
    std::uint16_t FileCrc = 0;
    Bytes FileCrcBytes;
    std::uint32_t FileLength = 0;
    std::string FileLengthHex;
    std::string FileAddressHex;
    TBlockAnswerer answerer_;

    Phase phase_ = Phase::Idle;
    bool completed_ = false;
    std::vector<TOutcome> jobOutcomes_;
    std::string stopCause_;
    bool interrupted_ = false;
    bool stopRequested_ = false;
    int blocksDone_ = 0;
    std::uint32_t bytesOnWire_ = 0; // named jobs: what has crossed the wire
    TimePoint jobStart_{};
    TimePoint lastAdvance_{}; // the last block request, or the last byte taken
    TimePoint queueStart_{};  // the first job's start: the queue's rate begins there
    bool queueStarted_ = false;
    std::uint64_t queueBytesTotal_ = 0;  // of every job the queue sends
    std::uint64_t queueBytesBefore_ = 0; // of the jobs that have ended
};

} // namespace tavisto
