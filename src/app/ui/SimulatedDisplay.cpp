#include "app/ui/SimulatedDisplay.h"

#include "sim/VirtualDisplay.h"

namespace tavisto::ui {

struct TSimulatedDisplay::Impl {
    explicit Impl(const sim::SimOptions& options) : display(options) {}
    sim::VirtualDisplay display;
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

} // namespace tavisto::ui
