#pragma once

#include "link/Clock.h"
#include "link/SerialPort.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavisto::testing {

// A scripted display behind fake serial ports: it understands the host only when
// the port runs at its own speed, answers the model query with its name and a
// closing 00, and the version query with its version bytes.
struct FakeDisplay {
    int baudRate = 9600;                // 0: understands every speed
    std::string modelName = "KT350-MK"; // empty: never answers the model query
    std::optional<std::string> version; // bytes of the version reply; unset: silent

    struct Write {
        int baudRate;
        std::string bytes;
    };
    std::vector<Write> writes; // every write from the host, with the port's speed
    std::vector<int> opens;    // the speed of every port opened

    bool wrote(const std::string& bytes) const {
        for (const Write& w : writes)
            if (w.bytes == bytes)
                return true;
        return false;
    }
};

class FakePort final : public link::SerialPort {
public:
    FakePort(FakeDisplay& display, int baudRate) : display_(display), baudRate_(baudRate) {}

    bool write(const Bytes& data, std::string& message) override {
        display_.writes.push_back({baudRate_, data});
        message = "OK";
        if (display_.baudRate != 0 && baudRate_ != display_.baudRate)
            return true; // garbage to the display: no answer
        if (data == std::string("\x02\x07\x16\x01", 4) && !display_.modelName.empty())
            inbox_ += display_.modelName + std::string(1, '\0');
        if (data == std::string("\x02\x07\x16\x02", 4) && display_.version)
            inbox_ += *display_.version;
        return true;
    }
    bool read(Bytes& out, std::string& message) override {
        if (inbox_.empty()) {
            message = "Failed to read data";
            return false;
        }
        out = inbox_;
        inbox_.clear();
        return true;
    }
    bool setBaudRate(int baudRate) override {
        baudRate_ = baudRate;
        return true;
    }
    bool waitForInput(Millis) override { return !inbox_.empty(); }
    void purgeInput() override { inbox_.clear(); }

private:
    FakeDisplay& display_;
    int baudRate_;
    Bytes inbox_;
};

// Opens fake ports on the listed names only.
class FakeOpener final : public link::PortOpener {
public:
    FakeOpener(FakeDisplay& display, std::vector<std::string> names)
        : display_(display), names_(std::move(names)) {}

    int open(const std::string& name, int baudRate, link::PortHandle& port) override {
        for (const std::string& known : names_) {
            if (known == name) {
                display_.opens.push_back(baudRate);
                port = std::make_unique<FakePort>(display_, baudRate);
                return link::kOpenOk;
            }
        }
        return link::kOpenFailed;
    }

private:
    FakeDisplay& display_;
    std::vector<std::string> names_;
};

// Virtual time: every look at the clock moves it 1 ms on, so polling loops end
// without real waiting; pauses are recorded and added.
class StepClock final : public Clock {
public:
    TimePoint now() const override { return now_ += Millis(1); }
    void sleep(Millis duration) override {
        pauses.push_back(duration);
        now_ += duration;
    }
    std::vector<Millis> pauses;

private:
    mutable TimePoint now_{};
};

} // namespace tavisto::testing
