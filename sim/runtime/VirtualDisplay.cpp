#include "sim/runtime/VirtualDisplay.h"

#include "sim/device/Models.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tavisto::sim {

namespace {

using Nanos = std::chrono::nanoseconds;

// While bytes travel at the wire rate, at most this many wait on the display's side;
// the rest stay in the line, so the host's writes take as long as on a real wire.
constexpr std::size_t kPacedBacklog = 4096;

// Paced bytes move in pieces of up to 16, as a UART's 16-byte FIFO hands them over:
// each piece when its last byte has crossed the wire. A byte at a time would wake
// this thread every 87 us at 115200 baud, and a thread that busy is served late on a
// loaded CPU, which slows the line more than any piece does.
constexpr std::size_t kPacedPiece = 16;

// How many bytes of a paced run of SIZE are due when the piece after OFFSET is.
long long piecesEnd(std::size_t offset, std::size_t size) {
    return static_cast<long long>(std::min(offset + kPacedPiece, size));
}

Nanos byteTimeAt(int baudRate) {
    // Ten bits a byte: start, eight data bits, stop.
    return baudRate > 0 ? Nanos(10'000'000'000LL / baudRate) : Nanos(0);
}

const char* replyName(ReplyKind kind) {
    switch (kind) {
    case ReplyKind::Echo:
        return "echo";
    case ReplyKind::Answer:
        return "answer";
    case ReplyKind::Transfer:
        return "transfer";
    }
    return "reply";
}

} // namespace

VirtualDisplay::VirtualDisplay(SimOptions options)
    : options_(std::move(options)),
      display_(std::make_unique<Display>(options_.model, options_.baudRate, options_.version,
                                         journal_)) {
    display_->setFaults(options_.faults);
}

VirtualDisplay::~VirtualDisplay() {
    stop();
}

bool VirtualDisplay::start(std::string& error) {
    if (running())
        return true;
    if (options_.model < 0 || options_.model >= kModelCount) {
        error = "unknown model";
        return false;
    }
    if (options_.baudRate <= 0) {
        error = "invalid baud rate";
        return false;
    }
    if (!options_.stateDir.empty() && !stateFolder_) {
        auto folder = std::make_unique<StateFolder>();
        if (!folder->open(options_.stateDir, error))
            return false;
        std::lock_guard lock(mutex_);
        display_->restore(folder->settings(), folder->storage());
        stateFolder_ = std::move(folder);
        saveState();
        if (!stateError_.empty()) {
            error = stateError_;
            return false;
        }
    }
    if (!line_.open(error))
        return false;
    if (!options_.linkPath.empty() && !line_.createLink(options_.linkPath, error)) {
        line_.close();
        return false;
    }
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        error = "eventfd failed";
        line_.close();
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        path_ = line_.slavePath();
        journal_.add(LogKind::Note, {},
                     std::string(modelName(display_->state().model)) + " on " + path_ + " at " +
                         std::to_string(display_->baudRate()) + " baud");
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void VirtualDisplay::stop() {
    if (!thread_.joinable())
        return;
    stopping_ = true;
    wake();
    thread_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
    line_.close();
    std::lock_guard lock(mutex_);
    inbound_.clear();
    outbound_.clear();
    path_.clear();
}

std::string VirtualDisplay::devicePath() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void VirtualDisplay::wake() {
    if (wakeFd_ >= 0) {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

void VirtualDisplay::setFaults(const Faults& faults) {
    {
        std::lock_guard lock(mutex_);
        display_->setFaults(faults);
    }
    wake();
}

Faults VirtualDisplay::faults() const {
    std::lock_guard lock(mutex_);
    return display_->faults();
}

void VirtualDisplay::setModel(int model) {
    std::lock_guard lock(mutex_);
    display_->setModel(model);
}

void VirtualDisplay::setVersion(std::uint32_t version) {
    std::lock_guard lock(mutex_);
    display_->setVersion(version);
}

DisplayState VirtualDisplay::state() const {
    std::lock_guard lock(mutex_);
    return display_->state();
}

Storage VirtualDisplay::storage() const {
    std::lock_guard lock(mutex_);
    return display_->storage();
}

void VirtualDisplay::inspect(
    const std::function<void(const DisplayState&, const Storage&)>& look) const {
    std::lock_guard lock(mutex_);
    look(display_->state(), display_->storage());
}

int VirtualDisplay::baudRate() const {
    std::lock_guard lock(mutex_);
    return display_->baudRate();
}

std::vector<LogEntry> VirtualDisplay::log() const {
    std::lock_guard lock(mutex_);
    return {journal_.entries().begin(), journal_.entries().end()};
}

std::vector<Bytes> VirtualDisplay::receivedFrames() const {
    std::lock_guard lock(mutex_);
    return journal_.bytesOf(LogKind::Received);
}

std::vector<Bytes> VirtualDisplay::rejectedFrames() const {
    std::lock_guard lock(mutex_);
    return journal_.bytesOf(LogKind::Rejected);
}

std::vector<Bytes> VirtualDisplay::answers() const {
    std::lock_guard lock(mutex_);
    return journal_.bytesOf(LogKind::Answered);
}

std::size_t VirtualDisplay::count(LogKind kind) const {
    std::lock_guard lock(mutex_);
    return journal_.count(kind);
}

void VirtualDisplay::clearLog() {
    std::lock_guard lock(mutex_);
    journal_.clear();
}

void VirtualDisplay::setLogSink(Journal::Sink sink) {
    std::lock_guard lock(mutex_);
    journal_.setSink(std::move(sink));
}

bool VirtualDisplay::waitForCount(LogKind kind, std::size_t count, Millis timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return journal_.count(kind) >= count; });
}

bool VirtualDisplay::waitUntilQuiet(Millis timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return quiet(); });
}

bool VirtualDisplay::quiet() const {
    // Bytes the host wrote may still sit in the kernel's buffer, not yet read here.
    int unread = 0;
    if (line_.masterFd() >= 0 && ioctl(line_.masterFd(), FIONREAD, &unread) == 0 && unread > 0)
        return false;
    return inbound_.empty() && outbound_.empty() && !display_->busy();
}

void VirtualDisplay::run() {
    bool blocked = false;
    for (;;) {
        pollfd fds[3];
        nfds_t count = 0;
        // Paced bytes are due every 87 us at 115200 baud: wait to the nanosecond,
        // or a millisecond of lateness per wake-up would slow the line.
        std::optional<Nanos> timeout;
        {
            std::lock_guard lock(mutex_);
            std::size_t backlog = 0;
            for (const Inbound& in : inbound_)
                backlog += in.data.size() - in.offset;
            short masterEvents = 0;
            if (!display_->faults().pacing || backlog < kPacedBacklog)
                masterEvents |= POLLIN;
            if (blocked)
                masterEvents |= POLLOUT;
            // A hung-up master (no host has the port open) reports POLLHUP at once
            // whatever is asked, so it is left out: the slave's next open wakes the
            // loop, and a short round reads what a host wrote just before it closed
            // (it reaches the master a moment after the close).
            const bool attached = line_.hostAttached();
            fds[count++] = {attached ? line_.masterFd() : -1, masterEvents, 0};
            fds[count++] = {wakeFd_, POLLIN, 0};
            if (line_.watchFd() >= 0)
                fds[count++] = {line_.watchFd(), POLLIN, 0};
            const Nanos longest = attached ? Nanos(std::chrono::seconds(60)) : Nanos(Millis(5));
            if (auto when = nextWake())
                timeout =
                    std::clamp<Nanos>(*when - std::chrono::steady_clock::now(), Nanos(0), longest);
            else if (!attached)
                timeout = longest;
        }
        timespec wait{};
        if (timeout) {
            wait.tv_sec = static_cast<time_t>(timeout->count() / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(timeout->count() % 1'000'000'000);
        }
        int ready = ::ppoll(fds, count, timeout ? &wait : nullptr, nullptr);
        if (stopping_)
            break;
        if (ready < 0 && errno != EINTR) {
            std::lock_guard lock(mutex_);
            journal_.add(LogKind::Note, {}, "line failed, display stopped");
            break;
        }
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            std::uint64_t value;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &value, sizeof value);
        }
        {
            std::lock_guard lock(mutex_);
            const SteadyTime now = std::chrono::steady_clock::now();
            noteAttachment(line_.updateAttachment());
            readLine(now);
            std::vector<Reply> replies;
            deliverInput(now, replies);
            display_->tick(now, replies);
            queueReplies(replies, now);
            blocked = writeOutput(now);
            saveState();
        }
        changed_.notify_all();
    }
}

// Writes changed settings and storage to the state folder. A failure is noted once
// and tried again a second later, not at every turn of the loop.
void VirtualDisplay::saveState() {
    const SteadyTime now = std::chrono::steady_clock::now();
    if (!stateFolder_ || (!stateError_.empty() && now < stateRetryAt_))
        return;
    std::string error;
    if (stateFolder_->save(display_->state().settings, display_->storage(), error)) {
        stateError_.clear();
        return;
    }
    if (error != stateError_)
        journal_.add(LogKind::Note, {}, "state not saved: " + error);
    stateError_ = error;
    stateRetryAt_ = now + std::chrono::seconds(1);
}

void VirtualDisplay::noteAttachment(const PtyLine::Attachment& seen) {
    if (seen.opened)
        journal_.add(LogKind::Note, {}, "port opened by the host");
    if (seen.closed)
        journal_.add(LogKind::Note, {}, "port closed by the host");
    if (seen.discarded > 0)
        journal_.add(LogKind::Note, {},
                     std::to_string(seen.discarded) + " bytes the host did not read discarded");
}

void VirtualDisplay::readLine(SteadyTime now) {
    const bool pacing = display_->faults().pacing;
    std::size_t backlog = 0;
    for (const Inbound& in : inbound_)
        backlog += in.data.size() - in.offset;
    char buffer[65536];
    while (!pacing || backlog < kPacedBacklog) {
        ssize_t n = line_.read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        Inbound in;
        in.data.assign(buffer, static_cast<std::size_t>(n));
        in.rate = line_.hostBaudRate();
        in.start = now;
        const Nanos wire = reframeInput(in.data, in.rate);
        if (pacing && !in.data.empty()) {
            in.byteTime = wire / static_cast<long long>(in.data.size());
            in.start = std::max(now, lastArrival_);
            lastArrival_ = in.start + wire;
        }
        backlog += in.data.size();
        inbound_.push_back(std::move(in));
    }
}

bool VirtualDisplay::hostFraming(Framing& framing, ErrorHandling& errors) const {
    if (!line_.hostFraming(framing, errors))
        return false;
    if (const auto& stated = display_->faults().hostFraming)
        framing = *stated;
    return true;
}

// What the display's 8N1 UART makes of bytes the host sent with its own framing, and
// how long they took on the wire. Bytes that arrive together travel back to back.
// The display's firmware takes every character its UART assembles, damaged or not, so
// a host at the wrong framing feeds it garbage. At another line speed nothing is
// assembled at all; deliverInput drops those bytes.
Nanos VirtualDisplay::reframeInput(Bytes& data, int rate) {
    Framing host;
    ErrorHandling errors = ErrorHandling::Pass;
    if (rate <= 0 || !hostFraming(host, errors))
        return byteTimeAt(rate) * static_cast<long long>(data.size());
    const Nanos wire = Nanos(1'000'000'000LL * host.bitsPerCharacter() *
                             static_cast<long long>(data.size()) / rate);
    if (host == Framing{} || rate != display_->baudRate())
        return wire;
    const std::vector<Character> taken = reframe(data, host, Framing{});
    Bytes received = deliver(taken, ErrorHandling::Pass);
    journal_.add(LogKind::Note, data,
                 std::to_string(data.size()) + " bytes sent at " + host.name() +
                     " taken by the display's 8N1 UART as " + std::to_string(received.size()) +
                     " bytes, " + std::to_string(damagedCount(taken)) + " with framing errors");
    data = std::move(received);
    return wire;
}

void VirtualDisplay::deliverInput(SteadyTime now, std::vector<Reply>& replies) {
    while (!inbound_.empty()) {
        Inbound& in = inbound_.front();
        while (in.offset < in.data.size()) {
            const SteadyTime at = in.start + in.byteTime * static_cast<long long>(in.offset + 1);
            if (at > now) {
                flushDropped();
                return;
            }
            const auto byte = static_cast<unsigned char>(in.data[in.offset++]);
            // A UART set to another speed than the sender's only sees garbage.
            if (in.rate != display_->baudRate()) {
                if (!dropped_.empty() && droppedRate_ != in.rate)
                    flushDropped();
                dropped_ += static_cast<char>(byte);
                droppedRate_ = in.rate;
                continue;
            }
            flushDropped();
            display_->receive(byte, at, replies);
            if (!replies.empty()) {
                // Queued at once, at the speed the display has now: a frame further on
                // may change it. A display answers when the frame's last byte arrives,
                // not when this thread came round to it, so the reply is due from then.
                queueReplies(replies, at);
                replies.clear();
            }
        }
        inbound_.pop_front();
    }
    flushDropped();
}

void VirtualDisplay::flushDropped() {
    if (dropped_.empty())
        return;
    journal_.add(LogKind::Dropped, dropped_,
                 std::to_string(dropped_.size()) + " bytes at " + std::to_string(droppedRate_) +
                     " baud not understood (display at " + std::to_string(display_->baudRate()) +
                     " baud)");
    dropped_.clear();
}

void VirtualDisplay::queueReplies(const std::vector<Reply>& replies, SteadyTime now) {
    const Faults& faults = display_->faults();
    for (const Reply& reply : replies) {
        const char* what = replyName(reply.kind);
        if (faults.silent) {
            journal_.add(LogKind::Dropped, reply.bytes, std::string(what) + " withheld (silent)");
            continue;
        }
        auto pieces = shapeReply(reply.bytes, faults);
        SteadyTime at = now;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            at += pieces[i].pauseBefore;
            Outbound out;
            out.data = std::move(pieces[i].bytes);
            out.notBefore = at;
            out.rate = display_->baudRate();
            out.byteTime = byteTimeAt(out.rate);
            out.what = what;
            if (pieces.size() > 1)
                out.what += " (piece " + std::to_string(i + 1) + " of " +
                            std::to_string(pieces.size()) + ")";
            outbound_.push_back(std::move(out));
        }
    }
}

// Writes what may leave now. True when the line would not take more.
bool VirtualDisplay::writeOutput(SteadyTime now) {
    const bool pacing = display_->faults().pacing;
    while (!outbound_.empty()) {
        Outbound& out = outbound_.front();
        if (now < out.notBefore)
            return false;
        if (!out.start) {
            if (!line_.hostAttached()) {
                journal_.add(LogKind::Dropped, out.data, out.what + ": nobody has the port open");
                outbound_.pop_front();
                continue;
            }
            const int host = line_.hostBaudRate();
            if (host != out.rate) {
                journal_.add(LogKind::Dropped, out.data,
                             out.what + ": line speeds differ (host " + std::to_string(host) +
                                 ", display " + std::to_string(out.rate) + " baud)");
                outbound_.pop_front();
                continue;
            }
            if (!reframeOutput(out)) {
                outbound_.pop_front();
                continue;
            }
            // Paced replies leave back to back from when they were due, so a late
            // turn of this loop writes at once what the wire would have carried by now.
            out.start = pacing ? std::max(out.notBefore, lastDeparture_) : now;
        }
        // An empty reply (injected by a fault) has nothing to put on the line, and
        // a write of nothing never finishes it: it is done as soon as it starts.
        if (out.data.empty()) {
            journal_.add(LogKind::Answered, out.data, out.what + " (empty)");
            outbound_.pop_front();
            continue;
        }
        std::size_t allowed = out.data.size() - out.offset;
        if (pacing) {
            const auto sent = static_cast<std::size_t>((now - *out.start) / out.byteTime);
            allowed = sent > out.offset ? std::min(allowed, sent - out.offset) : 0;
            if (allowed == 0)
                return false;
        }
        const ssize_t n = line_.write(out.data.data() + out.offset, allowed);
        if (n < 0) {
            journal_.add(LogKind::Dropped, out.data, out.what + ": write failed");
            outbound_.pop_front();
            continue;
        }
        if (n == 0)
            return true;
        out.offset += static_cast<std::size_t>(n);
        if (out.offset == out.data.size()) {
            lastDeparture_ = now;
            journal_.add(LogKind::Answered, out.data, out.what);
            outbound_.pop_front();
        }
    }
    return false;
}

// A reply about to leave, as the host's UART will assemble it when the host set
// another framing than the display's 8N1: the host reads what it makes of the
// characters, in their wire time. False when nothing of it reaches the host.
bool VirtualDisplay::reframeOutput(Outbound& out) {
    Framing host;
    ErrorHandling errors = ErrorHandling::Pass;
    if (out.data.empty() || !hostFraming(host, errors) || host == Framing{})
        return true;
    const std::vector<Character> taken = reframe(out.data, Framing{}, host);
    Bytes received = deliver(taken, errors);
    journal_.add(LogKind::Note, out.data,
                 out.what + ": " + std::to_string(out.data.size()) +
                     " bytes at 8N1 read by the host's " + host.name() + " UART as " +
                     std::to_string(received.size()) + " bytes, " +
                     std::to_string(damagedCount(taken)) + " damaged");
    if (received.empty()) {
        journal_.add(LogKind::Dropped, out.data, out.what + ": every character damaged, none read");
        return false;
    }
    const Nanos wire = out.byteTime * static_cast<long long>(out.data.size());
    out.byteTime = wire / static_cast<long long>(received.size());
    out.data = std::move(received);
    return true;
}

std::optional<SteadyTime> VirtualDisplay::nextWake() const {
    std::optional<SteadyTime> when = display_->deadline();
    auto consider = [&when](SteadyTime t) {
        if (!when || t < *when)
            when = t;
    };
    if (!inbound_.empty()) {
        const Inbound& in = inbound_.front();
        consider(in.start + in.byteTime * piecesEnd(in.offset, in.data.size()));
    }
    if (!outbound_.empty()) {
        const Outbound& out = outbound_.front();
        if (!out.start)
            consider(out.notBefore);
        else if (display_->faults().pacing)
            consider(*out.start + out.byteTime * piecesEnd(out.offset, out.data.size()));
    }
    return when;
}

} // namespace tavisto::sim
