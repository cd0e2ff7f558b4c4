#pragma once

#include "link/Clock.h"

namespace tavisto::ui {

// The window's clock. The protocol waits run on the window's thread (the display
// is asked, then polled), so a wait of seconds would freeze the window for as long.
// Here a wait on the window's thread is cut into slices of at most kPaintSlice, and
// between slices the window paints what has changed and lays out what has grown.
// Only paint and layout requests are handled: no input, no timer, no queued call
// runs inside a wait, so no handler and no engine event can cut into a command.
// On any other thread (the transfer worker) a wait is the plain wait of `inner`.
// A virtual clock (the tests') takes no real time to wait, so its waits are passed
// on whole, with the window painted before and after.
class TPaintingClock final : public Clock {
public:
    static constexpr Millis kPaintSlice{50};

    explicit TPaintingClock(Clock& inner) : inner_(inner), realTime_(&inner == &systemClock()) {}

    TimePoint now() const override { return inner_.now(); }
    void sleep(Millis duration) override;

    // Paints and lays out what is pending now (the step between slices).
    static void paintPending();

private:
    Clock& inner_;
    bool realTime_;
};

} // namespace tavisto::ui
