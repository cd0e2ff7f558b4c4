#pragma once

#include "sim/device/Display.h"
#include "sim/device/Faults.h"
#include "sim/device/Journal.h"
#include "tests/support/FakeLine.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace tavisto::testing {

// The virtual display's device (every frame it takes, its storage, its faults) on a
// fake line and the line's virtual clock, driven by the test's own thread. Bytes cross
// the line at once, as on the virtual display's pseudo-terminal unpaced: what only a
// real line shows (pacing, a hang-up, a host at another framing) stays with the
// runs on a pseudo-terminal. Bytes written at another speed than the display's are
// lost, as are replies that leave while the host's port is closed or at another speed.
// Its accessors are named as the virtual display's, so a test reads the same either way.
class SimulatedDisplay final : public LineDevice {
public:
    explicit SimulatedDisplay(FakeLine& line, int model = 5, int baudRate = 9600,
                              std::uint32_t version = 14);
    ~SimulatedDisplay() override;
    SimulatedDisplay(const SimulatedDisplay&) = delete;
    SimulatedDisplay& operator=(const SimulatedDisplay&) = delete;

    void setFaults(const sim::Faults& faults) { display_.setFaults(faults); }
    const sim::Faults& faults() const { return display_.faults(); }
    void setModel(int model) { display_.setModel(model); }
    void setVersion(std::uint32_t version) { display_.setVersion(version); }

    const sim::DisplayState& state() const { return display_.state(); }
    // Copies, as the virtual display's does, so a test can index what it holds.
    sim::Storage storage() const { return display_.storage(); }
    int baudRate() const { return display_.baudRate(); }
    sim::Display& device() { return display_; }

    std::vector<sim::LogEntry> log() const;
    std::vector<Bytes> receivedFrames() const { return journal_.bytesOf(sim::LogKind::Received); }
    std::vector<Bytes> rejectedFrames() const { return journal_.bytesOf(sim::LogKind::Rejected); }
    std::vector<Bytes> answers() const { return journal_.bytesOf(sim::LogKind::Answered); }
    std::size_t count(sim::LogKind kind) const { return journal_.count(kind); }
    bool noted(const std::string& text) const;
    void clearLog() { journal_.clear(); }

    // Lets the virtual clock run until nothing waits in the display (a frame that ends
    // at idle, a reply not yet sent), at most `limit`; false when something still does.
    bool settle(Micros limit = std::chrono::seconds(2));

    void timePassed(TimePoint now) override;
    std::optional<TimePoint> deadline() const override;

private:
    struct Piece {
        TimePoint at;
        Bytes bytes;
        int baudRate;
        std::string what;
    };

    void written(const Bytes& bytes);
    void queue(const std::vector<sim::Reply>& replies, TimePoint at);
    void leave(Piece& piece);

    FakeLine& line_;
    sim::Journal journal_;
    sim::Display display_;
    std::deque<Piece> outbound_; // in time order
};

} // namespace tavisto::testing
