#include "tests/support/SimulatedDisplay.h"

namespace tavisto::testing {

namespace {

const char* replyName(sim::ReplyKind kind) {
    switch (kind) {
    case sim::ReplyKind::Echo:
        return "echo";
    case sim::ReplyKind::Answer:
        return "answer";
    case sim::ReplyKind::Transfer:
        return "transfer";
    }
    return "reply";
}

} // namespace

SimulatedDisplay::SimulatedDisplay(FakeLine& line, int model, int baudRate, std::uint32_t version)
    : line_(line), display_(model, baudRate, version, journal_) {
    line_.attach(this);
    line_.onWrite = [this](const Bytes& bytes) {
        written(bytes);
    };
}

SimulatedDisplay::~SimulatedDisplay() {
    line_.attach(nullptr);
    line_.onWrite = nullptr;
}

std::vector<sim::LogEntry> SimulatedDisplay::log() const {
    return {journal_.entries().begin(), journal_.entries().end()};
}

bool SimulatedDisplay::noted(const std::string& text) const {
    for (const auto& entry : journal_.entries()) {
        if (entry.text.find(text) != std::string::npos)
            return true;
    }
    return false;
}

// Frames end at idle and block requests repeat on the display's deadlines, and
// replies leave when due: both in time order, each at its own time.
void SimulatedDisplay::timePassed(TimePoint now) {
    for (;;) {
        const auto due = display_.deadline();
        const bool replyFirst = !outbound_.empty() && (!due || outbound_.front().at <= *due);
        if (replyFirst && outbound_.front().at <= now) {
            leave(outbound_.front());
            outbound_.pop_front();
        } else if (!replyFirst && due && *due <= now) {
            std::vector<sim::Reply> replies;
            display_.tick(*due, replies);
            queue(replies, *due);
            // A deadline the display did not move on is not due again.
            if (display_.deadline() == due)
                break;
        } else {
            break;
        }
    }
}

bool SimulatedDisplay::settle(Micros limit) {
    VirtualClock& clock = line_.clock();
    const TimePoint end = clock.now() + limit;
    for (auto due = deadline(); due; due = deadline()) {
        if (*due > end)
            return false;
        clock.advanceTo(*due);
        timePassed(clock.now());
        if (deadline() == due)
            return false;
    }
    return true;
}

std::optional<TimePoint> SimulatedDisplay::deadline() const {
    std::optional<TimePoint> when = display_.deadline();
    if (!outbound_.empty() && (!when || outbound_.front().at < *when))
        when = outbound_.front().at;
    return when;
}

void SimulatedDisplay::written(const Bytes& bytes) {
    const TimePoint now = line_.clock().now();
    if (line_.baudRate() != display_.baudRate()) {
        journal_.add(sim::LogKind::Dropped, bytes,
                     std::to_string(bytes.size()) + " bytes at " +
                         std::to_string(line_.baudRate()) + " baud not understood (display at " +
                         std::to_string(display_.baudRate()) + " baud)");
        return;
    }
    std::vector<sim::Reply> replies;
    for (unsigned char byte : bytes) {
        display_.receive(byte, now, replies);
        // Queued at once, at the speed the display has now: a later frame may change it.
        queue(replies, now);
        replies.clear();
    }
    timePassed(now);
}

void SimulatedDisplay::queue(const std::vector<sim::Reply>& replies, TimePoint at) {
    const sim::Faults& faults = display_.faults();
    for (const sim::Reply& reply : replies) {
        const std::string what = replyName(reply.kind);
        if (faults.silent) {
            journal_.add(sim::LogKind::Dropped, reply.bytes, what + " withheld (silent)");
            continue;
        }
        TimePoint when = at;
        for (auto& piece : sim::shapeReply(reply.bytes, faults)) {
            when += piece.pauseBefore;
            if (piece.bytes.empty())
                continue; // a reply a fault made empty sends nothing
            Piece out{when, std::move(piece.bytes), display_.baudRate(), what};
            auto later = outbound_.end();
            while (later != outbound_.begin() && std::prev(later)->at > out.at)
                --later;
            outbound_.insert(later, std::move(out));
        }
    }
}

void SimulatedDisplay::leave(Piece& piece) {
    if (!line_.isOpen()) {
        journal_.add(sim::LogKind::Dropped, piece.bytes, piece.what + ": nobody has the port open");
        return;
    }
    if (line_.baudRate() != piece.baudRate) {
        journal_.add(sim::LogKind::Dropped, piece.bytes,
                     piece.what + ": line speeds differ (host " + std::to_string(line_.baudRate()) +
                         ", display " + std::to_string(piece.baudRate) + " baud)");
        return;
    }
    line_.arrive(piece.bytes, std::chrono::duration_cast<Micros>(piece.at - line_.clock().now()));
    journal_.add(sim::LogKind::Answered, piece.bytes, piece.what);
}

} // namespace tavisto::testing
