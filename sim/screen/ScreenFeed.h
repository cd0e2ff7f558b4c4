#pragma once

#include "sim/runtime/VirtualDisplay.h"
#include "sim/screen/ScreenRenderer.h"

#include <cstdint>
#include <optional>

namespace tavisto::sim {

// Keeps a running virtual display's screen up to date for a viewer (the --screen
// picture, the window's view). refresh() draws only when a command may have changed
// the screen or time moves it (scrolling, idle play), under the display's lock for
// the few milliseconds of the drawing, and says whether the picture changed.
class ScreenFeed {
public:
    ScreenFeed(const VirtualDisplay& display, FontFallback fallback);

    // True when the screen differs from the one last handed out (always the first time).
    bool refresh(SteadyTime now);
    const Framebuffer& frame() const { return frame_; }
    int brightnessStep() const { return brightness_; }
    // When refresh() should look again for a change that comes with time alone.
    std::optional<Millis> nextChange() const { return nextChange_; }

private:
    const VirtualDisplay& display_;
    ScreenRenderer renderer_;
    Framebuffer frame_;
    Framebuffer scratch_;
    int brightness_ = 0;
    std::optional<std::uint64_t> generation_;
    std::optional<Millis> nextChange_;
    std::optional<SteadyTime> due_; // when time alone changes the picture next
};

} // namespace tavisto::sim
