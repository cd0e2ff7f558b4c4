#include "app/ui/ProvisionRelay.h"

#include "app/ui/QtText.h"

namespace tavisto::ui {

TProvisionRelay::TProvisionRelay(QObject* parent) : QObject(parent) {
    qRegisterMetaType<provision::PortResult>();
    qRegisterMetaType<std::vector<provision::PortResult>>();
}

void TProvisionRelay::stepStarted(const std::string& port, const std::string& step) {
    emit stepStartedOn(qs(port), qs(step));
}

void TProvisionRelay::identified(const std::string& port, const provision::PortIdentity& identity) {
    emit identifiedOn(qs(port), qs(identity.model), qs(identity.firmware.value_or("")));
}

void TProvisionRelay::progress(const std::string& port,
                               const provision::TransferProgress& progress) {
    emit progressOn(qs(port), progress.percent, qs(progress.rate), qs(progress.left));
}

void TProvisionRelay::note(const std::string& port, const std::string& text) {
    emit noteOn(qs(port), qs(text));
}

// The step's outcome reaches the row with the port's: a failed step is the port's
// first error.
void TProvisionRelay::stepEnded(const std::string&, const provision::StepResult&) {}

void TProvisionRelay::portEnded(const std::string& port, const provision::PortResult& result) {
    emit portEndedOn(qs(port), result);
}

void TProvisionRelay::runEnded(const std::vector<provision::PortResult>& results) {
    emit runEndedWith(results);
}

} // namespace tavisto::ui
