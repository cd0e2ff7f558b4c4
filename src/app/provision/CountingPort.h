#pragma once

#include "link/SerialPort.h"

#include <atomic>
#include <cstdint>

namespace tavisto::provision {

// Opens ports through another opener and counts every byte written to them, so that a
// worker can say how many bytes each of its steps put on the wire.
class CountingOpener final : public link::PortOpener {
public:
    explicit CountingOpener(link::PortOpener& inner) : inner_(inner) {}

    int open(const std::string& name, int baudRate, link::PortHandle& port) override;
    int lock(const std::string& name, link::PortLockHandle& lock) override {
        return inner_.lock(name, lock);
    }

    std::uint64_t written() const { return written_.load(); }

private:
    link::PortOpener& inner_;
    // Written by the engine's helper threads as well as the worker's.
    std::atomic<std::uint64_t> written_{0};
};

} // namespace tavisto::provision
