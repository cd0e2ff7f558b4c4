#pragma once

#include "tests/app/ui/WindowHarness.h"
#include "tests/support/SimulatedDisplay.h"

#include <QPushButton>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavisto::testing {

// The virtual display's device on the fake line at /dev/ttyFAKE0, on a virtual clock
// that every read moves 1 ms on, so that the window's polling loops end without real
// waiting. The window's connection waits on the window's own thread, the only one
// that touches the line in these tests.
struct SimulatedLine {
    explicit SimulatedLine(int model = 5, int baudRate = 9600, std::uint32_t version = 14)
        : display(line, model, baudRate, version) {
        line.readCost = Millis(1);
    }

    bool wrote(const Bytes& bytes) const {
        const auto all = line.writes();
        return std::find(all.begin(), all.end(), bytes) != all.end();
    }
    // Frames the display has taken in; a frame ends when the line has been idle a while.
    std::size_t received() {
        display.settle();
        return display.count(sim::LogKind::Received);
    }
    // The speed of every port opened, in order.
    std::vector<int> opens() const {
        std::vector<int> speeds;
        for (const LineEvent& event : line.events())
            if (event.kind == LineEvent::Open)
                speeds.push_back(event.baudRate);
        return speeds;
    }
    // The host's speed at every write, in order.
    std::vector<int> writeSpeeds() const {
        std::vector<int> speeds;
        int speed = 0;
        for (const LineEvent& event : line.events()) {
            if (event.kind == LineEvent::Open || event.kind == LineEvent::Speed)
                speed = event.baudRate;
            else if (event.kind == LineEvent::Write)
                speeds.push_back(speed);
        }
        return speeds;
    }

    VirtualClock clock;
    FakeLine line{clock};
    SimulatedDisplay display;
};

// A main window on `sim` with the desktop's dialogs in `boxes`; Connect is not pressed.
// With `plugged` false the window's port is another one, which does not open; with
// `ports` the port list is theirs alone.
inline std::unique_ptr<ui::TfrmTavistoMain> windowOnSimulatedLine(SimulatedLine& sim,
                                                                  BoxRecorder& boxes,
                                                                  bool plugged = true,
                                                                  ui::PortLister ports = {}) {
    ui::TMainWindowSetup setup;
    setup.opener = &sim.line;
    setup.clock = &sim.clock;
    if (ports) {
        setup.enumPorts = std::move(ports);
    } else {
        setup.enumPorts = [](std::vector<std::string>& list, std::string&) {
            list.clear();
            return true;
        };
        setup.firstPorts = {plugged ? "/dev/ttyFAKE0" : "/dev/ttyGONE0"};
    }
    setup.dialogs = &boxes;
    setup.langId = 1033;
    return std::make_unique<ui::TfrmTavistoMain>(std::move(setup));
}

// As windowOnSimulatedLine, with Connect pressed and its box taken out of `boxes`;
// stops the test with the box shown when Connect did not succeed alone.
inline std::unique_ptr<ui::TfrmTavistoMain> connectedOnSimulatedLine(SimulatedLine& sim,
                                                                     BoxRecorder& boxes) {
    auto w = windowOnSimulatedLine(sim, boxes);
    w->btnConnect->click();
    takeConnectedBox(boxes);
    return w;
}

} // namespace tavisto::testing
