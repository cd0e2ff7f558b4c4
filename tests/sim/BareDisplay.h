#pragma once

#include "sim/device/Display.h"

#include <chrono>
#include <vector>

namespace tavisto::sim::test {

// A display without a line: bytes go straight in, time is made up.
struct BareDisplay {
    Journal journal;
    Display display;
    SteadyTime now = std::chrono::steady_clock::now();

    explicit BareDisplay(int model = 5) : display(model, 9600, 14, journal) {}

    void feed(const Bytes& bytes) {
        std::vector<Reply> replies;
        for (unsigned char c : bytes)
            display.receive(c, now, replies);
        now += std::chrono::milliseconds(100); // past the idle gap that ends a text run
        display.tick(now, replies);
    }

    // Row `n` (from 1) of the customer-display text area.
    const Bytes& row(int n) const {
        return display.state().screen[static_cast<std::size_t>(n - 1)];
    }
};

} // namespace tavisto::sim::test
