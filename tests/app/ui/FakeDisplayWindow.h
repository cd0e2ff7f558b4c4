#pragma once

#include "tests/app/ui/FakeDisplay.h"
#include "tests/app/ui/WindowHarness.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavisto::testing {

// A main window on the scripted `display` at /dev/ttyFAKE0, answering at every speed,
// with the virtual `clock` and the desktop's dialogs in `boxes`; with `plugged` false
// its port cannot be opened. `opener` keeps the port opener alive beside the window.
inline std::unique_ptr<ui::TfrmTavistoMain>
WindowOnFakeDisplay(FakeDisplay& display, StepClock& clock, BoxRecorder& boxes,
                    std::unique_ptr<FakeOpener>& opener, bool plugged = true) {
    display.baudRate = 0;
    const std::string port = "/dev/ttyFAKE0";
    opener = std::make_unique<FakeOpener>(display, plugged ? std::vector<std::string>{port}
                                                           : std::vector<std::string>{});
    ui::TMainWindowSetup setup;
    setup.opener = opener.get();
    setup.clock = &clock;
    setup.enumPorts = [](std::vector<std::string>& list, std::string&) {
        list.clear();
        return true;
    };
    setup.firstPorts = {port};
    setup.dialogs = &boxes;
    setup.langId = 1033;
    return std::make_unique<ui::TfrmTavistoMain>(std::move(setup));
}

} // namespace tavisto::testing
