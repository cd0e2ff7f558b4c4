#pragma once

#include "sim/runtime/VirtualDisplay.h"
#include "tests/app/ui/WindowHarness.h"

#include <QPushButton>
#include <memory>
#include <string>
#include <utility>

namespace tavisto::testing {

// Starts a virtual display with `options` and a window whose port list holds only
// its path, with message boxes going to `boxes`; Connect is not pressed yet.
inline std::unique_ptr<ui::TfrmTavistoMain>
windowOnVirtualDisplay(std::unique_ptr<sim::VirtualDisplay>& display, sim::SimOptions options,
                       BoxRecorder& boxes) {
    display = std::make_unique<sim::VirtualDisplay>(std::move(options));
    std::string error;
    if (!display->start(error))
        qFatal("virtual display: %s", error.c_str());
    ui::TMainWindowSetup setup;
    setup.enumPorts = [](std::vector<std::string>& list, std::string&) {
        list.clear();
        return true;
    };
    setup.firstPorts = {display->devicePath()};
    setup.dialogs = &boxes;
    setup.langId = 1033;
    return std::make_unique<ui::TfrmTavistoMain>(std::move(setup));
}

// As windowOnVirtualDisplay, with Connect pressed and its box taken out of `boxes`;
// stops the test with the box shown when Connect did not succeed alone.
inline std::unique_ptr<ui::TfrmTavistoMain>
connectedToVirtualDisplay(std::unique_ptr<sim::VirtualDisplay>& display, sim::SimOptions options,
                          BoxRecorder& boxes) {
    auto w = windowOnVirtualDisplay(display, std::move(options), boxes);
    w->btnConnect->click();
    takeConnectedBox(boxes);
    return w;
}

} // namespace tavisto::testing
