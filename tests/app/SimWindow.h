#pragma once

#include "WindowHarness.h"
#include "sim/VirtualDisplay.h"

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

} // namespace tavisto::testing
