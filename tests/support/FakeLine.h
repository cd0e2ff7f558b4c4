#pragma once

#include "link/Clock.h"
#include "link/SerialPort.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavisto::testing {

// Time that only moves when the code under test sleeps or waits on a fake port.
class VirtualClock final : public Clock {
public:
    TimePoint now() const override { return now_; }
    void sleep(Millis duration) override {
        if (duration.count() > 0)
            now_ += duration;
    }
    void advance(Micros duration) { now_ += duration; }
    void advanceTo(TimePoint t) {
        if (t > now_)
            now_ = t;
    }
    // Virtual time since the clock was made.
    Micros elapsed() const { return std::chrono::duration_cast<Micros>(now_ - origin_); }

private:
    TimePoint origin_ = TimePoint{} + std::chrono::hours(1);
    TimePoint now_ = origin_;
};

// One thing that happened on the line, at a virtual time.
struct LineEvent {
    enum Kind { Open, Close, Write, Speed };
    Kind kind;
    Micros at;    // since the clock was made
    Bytes bytes;  // Write
    int baudRate; // Open and Speed
};

// Something behind the line that lets time pass (a simulated display): the line tells
// it the time before every read, wait and write, and waits no further than its
// deadline, so what it does at a time happens on the virtual clock at that time.
class LineDevice {
public:
    virtual ~LineDevice() = default;
    virtual void timePassed(TimePoint now) = 0;
    virtual std::optional<TimePoint> deadline() const = 0;
};

// A scripted serial line and the opener of its (one) port: the test schedules
// what the display sends and when, and reads back everything written. A port
// opened on it is exclusive, as a real serial device is: a second open fails
// until the first port is closed.
class FakeLine final : public link::PortOpener {
public:
    explicit FakeLine(VirtualClock& clock, std::string portName = "/dev/ttyFAKE0");
    ~FakeLine() override;

    int open(const std::string& name, int baudRate, link::PortHandle& port) override;

    // Bytes that reach the port `delay` from now. Bytes that arrive while no
    // port is open are lost, and a closing port drops what it did not read.
    void arrive(const Bytes& bytes, Micros delay = Micros(0));

    // Called with every write (after it is recorded); typically schedules the
    // display's answer with arrive().
    std::function<void(const Bytes& written)> onWrite;

    // Who answers besides onWrite's script; null for none.
    void attach(LineDevice* device) { device_ = device; }

    // Faults.
    bool failWrites = false; // writes fail with "1: 5"
    bool hungUp = false;     // the port reports the line gone; input always "ready",
                             // yet reads give nothing
    Micros readCost{0};      // virtual time one read takes

    // What happened.
    const std::vector<LineEvent>& events() const { return events_; }
    std::vector<Bytes> writes() const;
    // Every write but those of `frame` (such as the readiness probes between commands).
    std::vector<Bytes> writesOtherThan(const Bytes& frame) const;
    std::vector<LineEvent::Kind> kinds() const;
    bool isOpen() const { return port_ != nullptr; }
    int baudRate() const { return baudRate_; }
    std::size_t pending() const { return arrivals_.size(); }
    VirtualClock& clock() { return clock_; }

private:
    class Port;
    friend class Port;

    struct Arrival {
        TimePoint at;
        Bytes bytes;
    };

    void record(LineEvent::Kind kind, const Bytes& bytes = {}, int baudRate = 0);
    void dropArrived();
    bool hasArrived() const;
    void letTimePass();

    VirtualClock& clock_;
    std::string portName_;
    Port* port_ = nullptr;
    LineDevice* device_ = nullptr;
    int baudRate_ = 0;
    std::deque<Arrival> arrivals_; // in time order
    std::vector<LineEvent> events_;
};

} // namespace tavisto::testing
