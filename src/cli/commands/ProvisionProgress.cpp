#include "cli/commands/ProvisionProgress.h"

#include "app/provision/ProvisionWorker.h"

#include <algorithm>

namespace tavisto::cli {

ProvisionProgress::ProvisionProgress(std::ostream& stream, bool terminal,
                                     std::vector<std::string> ports)
    : stream_(stream), terminal_(terminal), ports_(std::move(ports)) {}

void ProvisionProgress::logLine(const std::string& port, const std::string& text) {
    if (terminal_)
        return;
    const std::lock_guard lock(mutex_);
    stream_ << port << ": " << text << '\n' << std::flush;
}

void ProvisionProgress::stepStarted(const std::string& port, const std::string& step) {
    const std::lock_guard lock(mutex_);
    PortStatus& status = statuses_[port];
    status.step = step;
    status.percent = -1;
    status.rate.clear();
    status.left.clear();
}

void ProvisionProgress::identified(const std::string& port,
                                   const provision::PortIdentity& identity) {
    {
        const std::lock_guard lock(mutex_);
        statuses_[port].model = identity.model;
    }
    logLine(port, "found " + identity.model +
                      (identity.firmware ? ", firmware " + *identity.firmware : "") + ", " +
                      std::to_string(identity.baud) + " baud");
}

void ProvisionProgress::progress(const std::string& port,
                                 const provision::TransferProgress& progress) {
    const std::lock_guard lock(mutex_);
    PortStatus& status = statuses_[port];
    status.percent = progress.percent;
    status.rate = progress.rate;
    status.left = progress.left;
}

void ProvisionProgress::note(const std::string& port, const std::string& text) {
    logLine(port, text);
}

void ProvisionProgress::stepEnded(const std::string& port, const provision::StepResult& step) {
    {
        const std::lock_guard lock(mutex_);
        statuses_[port].percent = -1;
    }
    logLine(port, step.step + ": " + step.result + (step.error.empty() ? "" : ": " + step.error));
}

void ProvisionProgress::portEnded(const std::string& port, const provision::PortResult& result) {
    {
        const std::lock_guard lock(mutex_);
        PortStatus& status = statuses_[port];
        status.finished = true;
        status.step.clear();
        status.percent = -1;
        status.result = result.result;
    }
    logLine(port, result.result + (result.error.empty() ? "" : ": " + result.error));
}

std::string ProvisionProgress::lineOf(const std::string& port, std::size_t width,
                                      const PortStatus& status) {
    std::string line = port + std::string(width - port.size() + 2, ' ');
    const std::string model = status.model.empty() ? "-" : status.model;
    line += model + std::string(model.size() < 12 ? 12 - model.size() : 1, ' ');
    if (status.finished)
        return line + status.result;
    line += status.step.empty() ? "waiting" : status.step;
    if (status.percent >= 0)
        line += " " + std::to_string(status.percent) + "%";
    if (!status.rate.empty())
        line += ", " + status.rate;
    if (!status.left.empty())
        line += ", " + status.left;
    return line;
}

void ProvisionProgress::redraw() {
    if (!terminal_)
        return;
    std::size_t width = 0;
    for (const auto& port : ports_)
        width = std::max(width, port.size());
    const std::lock_guard lock(mutex_);
    if (drawn_)
        stream_ << "\x1b[" << ports_.size() << 'A';
    for (const auto& port : ports_)
        stream_ << '\r' << lineOf(port, width, statuses_[port]) << "\x1b[K\n";
    stream_ << std::flush;
    drawn_ = true;
}

} // namespace tavisto::cli
