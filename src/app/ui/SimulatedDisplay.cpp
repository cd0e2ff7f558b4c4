#include "app/ui/SimulatedDisplay.h"

#include "resources/EmbeddedResources.h"
#include "sim/runtime/VirtualDisplay.h"
#include "sim/screen/ScreenFeed.h"

namespace tavisto::ui {

struct TSimulatedDisplay::Impl {
    explicit Impl(const sim::SimOptions& options)
        : display(options), screen(display, EmbeddedResourceView) {}
    sim::VirtualDisplay display;
    sim::ScreenFeed screen;
};

TSimulatedDisplay::TSimulatedDisplay(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TSimulatedDisplay::~TSimulatedDisplay() = default;

std::unique_ptr<TSimulatedDisplay> TSimulatedDisplay::Start(int model, std::string& error) {
    sim::SimOptions options;
    options.model = model;
    // Someone trying the window should see transfers take as long as on a real line.
    options.faults.pacing = true;
    auto impl = std::make_unique<Impl>(options);
    if (!impl->display.start(error))
        return nullptr;
    return std::unique_ptr<TSimulatedDisplay>(new TSimulatedDisplay(std::move(impl)));
}

std::string TSimulatedDisplay::devicePath() const {
    return impl_->display.devicePath();
}

bool TSimulatedDisplay::refreshScreen(TScreenPicture& picture) {
    if (!impl_->screen.refresh(std::chrono::steady_clock::now()))
        return false;
    const sim::Framebuffer& frame = impl_->screen.frame();
    picture.width = frame.width();
    picture.height = frame.height();
    picture.rgb = sim::panelLight(frame, impl_->screen.brightnessStep());
    return true;
}

} // namespace tavisto::ui
