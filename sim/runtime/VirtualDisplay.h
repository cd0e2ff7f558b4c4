#pragma once

#include "sim/device/Display.h"
#include "sim/device/Faults.h"
#include "sim/device/Journal.h"
#include "sim/device/Storage.h"
#include "sim/line/PtyLine.h"
#include "sim/runtime/StateFolder.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavisto::sim {

struct SimOptions {
    int model = 5; // model index, 0..6
    int baudRate = 9600;
    std::uint32_t version = 14;
    Faults faults;
    std::string linkPath; // a symbolic link to the device, made at start when not empty
    // A folder that keeps the settings and storage across runs (see StateFolder); the
    // display starts from it and writes every change back. Empty: a fresh display.
    std::string stateDir;
};

// A display on a pseudo-terminal, run by a thread of its own. All methods are safe
// to call from any thread while it runs.
class VirtualDisplay {
public:
    explicit VirtualDisplay(SimOptions options = {});
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Creates the line and starts the thread; false with a message on failure.
    bool start(std::string& error);
    // Stops the thread and closes the line (also done by the destructor).
    void stop();
    bool running() const { return thread_.joinable(); }

    // The path the host opens (empty before start).
    std::string devicePath() const;

    void setFaults(const Faults& faults);
    Faults faults() const;
    void setModel(int model);
    void setVersion(std::uint32_t version);

    DisplayState state() const;
    Storage storage() const;
    // Runs `look` on the display's state and storage under its lock, without copying
    // them (the storage can hold megabytes); `look` must be quick and must not call
    // back into this object.
    void inspect(const std::function<void(const DisplayState&, const Storage&)>& look) const;
    int baudRate() const; // the display's own speed

    // The log, and views of it.
    std::vector<LogEntry> log() const;
    std::vector<Bytes> receivedFrames() const; // frames understood and accepted
    std::vector<Bytes> rejectedFrames() const; // frames refused
    std::vector<Bytes> answers() const;        // bytes put on the line, piece by piece
    std::size_t count(LogKind kind) const;
    void clearLog();
    // Called with every new log entry, on the display's thread and under its lock:
    // the sink must not call back into this object.
    void setLogSink(Journal::Sink sink);

    // Waits until the log holds at least count entries of a kind; false on time-out.
    bool waitForCount(LogKind kind, std::size_t count, Millis timeout) const;
    // Waits until nothing is in flight: no input waiting, no frame half parsed, no
    // reply waiting to leave; false on time-out. Bytes the kernel has not yet moved
    // through the pseudo-terminal cannot be seen, so to wait for a frame the host has
    // just written, use waitForCount.
    bool waitUntilQuiet(Millis timeout) const;

private:
    struct Inbound {
        Bytes data;
        std::size_t offset = 0;
        SteadyTime start;
        std::chrono::nanoseconds byteTime{0};
        int rate = 0;
    };
    struct Outbound {
        Bytes data;
        std::size_t offset = 0;
        SteadyTime notBefore;
        std::optional<SteadyTime> start;
        int rate = 0;
        std::chrono::nanoseconds byteTime{0}; // paced: the wire time of each byte
        std::string what;
    };

    void run();
    void noteAttachment(const PtyLine::Attachment& seen);
    void readLine(SteadyTime now);
    bool hostFraming(Framing& framing, ErrorHandling& errors) const;
    std::chrono::nanoseconds reframeInput(Bytes& data, int rate);
    bool reframeOutput(Outbound& out);
    void deliverInput(SteadyTime now, std::vector<Reply>& replies);
    void flushDropped();
    void queueReplies(const std::vector<Reply>& replies, SteadyTime now);
    bool writeOutput(SteadyTime now);
    std::optional<SteadyTime> nextWake() const;
    bool quiet() const;
    void wake();
    void saveState();

    SimOptions options_;
    PtyLine line_;
    std::string path_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Journal journal_;
    std::unique_ptr<Display> display_;
    std::deque<Inbound> inbound_;
    std::deque<Outbound> outbound_;
    Bytes dropped_;
    int droppedRate_ = 0;
    SteadyTime lastArrival_{};
    SteadyTime lastDeparture_{}; // when the last reply's last byte left
    std::unique_ptr<StateFolder> stateFolder_;
    std::string stateError_; // the last failure to save, reported once
    SteadyTime stateRetryAt_{};
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    int wakeFd_ = -1;
};

} // namespace tavisto::sim
