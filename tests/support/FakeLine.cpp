#include "tests/support/FakeLine.h"

#include <algorithm>

namespace tavisto::testing {

class FakeLine::Port final : public link::SerialPort {
public:
    explicit Port(FakeLine& line) : line_(line) {}
    ~Port() override {
        line_.dropArrived();
        line_.port_ = nullptr;
        line_.record(LineEvent::Close);
    }

    bool write(const Bytes& data, std::string& message) override {
        line_.letTimePass();
        line_.record(LineEvent::Write, data);
        if (line_.failWrites) {
            message = "1: 5";
            return false;
        }
        message = "OK";
        if (line_.onWrite)
            line_.onWrite(data);
        return true;
    }

    bool read(Bytes& out, std::string& message) override {
        out.clear();
        message = "Failed to read data";
        line_.clock_.advance(line_.readCost);
        line_.letTimePass();
        if (line_.hungUp)
            return false;
        auto& arrivals = line_.arrivals_;
        while (!arrivals.empty() && arrivals.front().at <= line_.clock_.now() &&
               out.size() < link::kReadChunk) {
            Bytes& bytes = arrivals.front().bytes;
            const std::size_t take = std::min(bytes.size(), link::kReadChunk - out.size());
            out += bytes.substr(0, take);
            bytes.erase(0, take);
            if (bytes.empty())
                arrivals.pop_front();
        }
        if (out.empty())
            return false;
        message = "OK";
        return true;
    }

    bool setBaudRate(int baudRate) override {
        line_.letTimePass();
        line_.baudRate_ = baudRate;
        line_.record(LineEvent::Speed, {}, baudRate);
        return true;
    }

    bool waitForInput(Millis timeout) override {
        const TimePoint deadline = line_.clock_.now() + timeout;
        for (;;) {
            line_.letTimePass();
            if (line_.hungUp || line_.hasArrived())
                return true;
            // The next moment anything can change: an arrival or the device's deadline.
            std::optional<TimePoint> next;
            if (!line_.arrivals_.empty())
                next = line_.arrivals_.front().at;
            // The device has had its due moments up to now; one it did not move past
            // is no reason to stop the clock.
            if (line_.device_) {
                const auto due = line_.device_->deadline();
                if (due && *due > line_.clock_.now() && (!next || *due < *next))
                    next = due;
            }
            if (!next || *next > deadline) {
                line_.clock_.advanceTo(deadline);
                line_.letTimePass();
                return line_.hasArrived();
            }
            line_.clock_.advanceTo(*next);
        }
    }

    void purgeInput() override { line_.dropArrived(); }

    bool hungUp() override { return line_.hungUp; }

private:
    FakeLine& line_;
};

FakeLine::FakeLine(VirtualClock& clock, std::string portName)
    : clock_(clock), portName_(std::move(portName)) {}

FakeLine::~FakeLine() {
    // A port that outlives its line must not call back into it.
    if (port_)
        std::terminate();
}

int FakeLine::open(const std::string& name, int baudRate, link::PortHandle& port) {
    if (name != portName_ || port_ != nullptr)
        return link::kOpenFailed;
    dropArrived();
    auto fresh = std::make_unique<Port>(*this);
    port_ = fresh.get();
    baudRate_ = baudRate;
    record(LineEvent::Open, {}, baudRate);
    port = std::move(fresh);
    return link::kOpenOk;
}

void FakeLine::arrive(const Bytes& bytes, Micros delay) {
    const Arrival arrival{clock_.now() + delay, bytes};
    auto later = std::upper_bound(arrivals_.begin(), arrivals_.end(), arrival.at,
                                  [](TimePoint at, const Arrival& other) { return at < other.at; });
    arrivals_.insert(later, arrival);
}

std::vector<Bytes> FakeLine::writes() const {
    std::vector<Bytes> result;
    for (const auto& event : events_) {
        if (event.kind == LineEvent::Write)
            result.push_back(event.bytes);
    }
    return result;
}

std::vector<Bytes> FakeLine::writesOtherThan(const Bytes& frame) const {
    std::vector<Bytes> result = writes();
    std::erase(result, frame);
    return result;
}

std::vector<LineEvent::Kind> FakeLine::kinds() const {
    std::vector<LineEvent::Kind> result;
    for (const auto& event : events_)
        result.push_back(event.kind);
    return result;
}

void FakeLine::record(LineEvent::Kind kind, const Bytes& bytes, int baudRate) {
    events_.push_back({kind, clock_.elapsed(), bytes, baudRate});
}

void FakeLine::dropArrived() {
    while (!arrivals_.empty() && arrivals_.front().at <= clock_.now())
        arrivals_.pop_front();
}

void FakeLine::letTimePass() {
    if (device_)
        device_->timePassed(clock_.now());
}

bool FakeLine::hasArrived() const {
    return !arrivals_.empty() && arrivals_.front().at <= clock_.now();
}

} // namespace tavisto::testing
