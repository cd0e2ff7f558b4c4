#pragma once

#include "app/ui/ScreenPicture.h"

#include <memory>
#include <string>

namespace tavisto::ui {

// A virtual display run inside the window's process (--simulate). Kept apart from
// the Qt code, whose keyword macros clash with the virtual display's headers.
class TSimulatedDisplay {
public:
    ~TSimulatedDisplay();

    // Starts a display of the model (0..6) on a fresh pseudo-terminal; null with a
    // message when that fails.
    static std::unique_ptr<TSimulatedDisplay> Start(int model, std::string& error);

    std::string devicePath() const;

    // The display's screen, drawn with the stored fonts or the program's own; fills
    // `picture` and returns true when it changed since the last call (a TScreenSource).
    bool refreshScreen(TScreenPicture& picture);

private:
    struct Impl;
    explicit TSimulatedDisplay(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace tavisto::ui
