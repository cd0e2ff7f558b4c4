#include "sim/screen/ScreenFeed.h"

namespace tavisto::sim {

ScreenFeed::ScreenFeed(const VirtualDisplay& display, FontFallback fallback)
    : display_(display), renderer_(std::move(fallback)) {}

bool ScreenFeed::refresh(SteadyTime now) {
    bool drawn = false;
    int brightness = brightness_;
    display_.inspect([&](const DisplayState& state, const Storage& storage) {
        const ScreenTimes times = screenTimesAt(state, now);
        const bool moved = due_ && now >= *due_;
        if (generation_ == state.screenGeneration && !moved)
            return;
        renderer_.draw(state, storage, times, scratch_);
        generation_ = state.screenGeneration;
        nextChange_ = ScreenRenderer::changesWithin(state, times);
        due_.reset();
        if (nextChange_)
            due_ = now + *nextChange_;
        brightness = state.brightnessStep;
        drawn = true;
    });
    if (!drawn || (scratch_ == frame_ && brightness == brightness_))
        return false;
    std::swap(frame_, scratch_);
    brightness_ = brightness;
    return true;
}

} // namespace tavisto::sim
