#pragma once

#include "app/provision/ProvisionEvents.h"

#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace tavisto::cli {

// What the operator sees while the workers run. On a terminal, one line per port
// (port, model, step, percent, rate, time left), redrawn in place by redraw();
// otherwise one log line per event, "PORT: text", as the workers report them.
class ProvisionProgress final : public provision::ProvisionEvents {
public:
    // `terminal` selects the redrawn lines, written to `stream`; else log lines go there.
    ProvisionProgress(std::ostream& stream, bool terminal, std::vector<std::string> ports);

    // The events of the workers; safe to call from any thread.
    void stepStarted(const std::string& port, const std::string& step) override;
    void identified(const std::string& port, const provision::PortIdentity& identity) override;
    void progress(const std::string& port, const provision::TransferProgress& progress) override;
    void note(const std::string& port, const std::string& text) override;
    void stepEnded(const std::string& port, const provision::StepResult& step) override;
    void portEnded(const std::string& port, const provision::PortResult& result) override;

    // Rewrites the port lines (on a terminal; does nothing otherwise).
    void redraw();

private:
    // Where a worker is, for its port line.
    struct PortStatus {
        std::string model;
        std::string step;
        int percent = -1; // of the current transfer job; -1 outside transfers
        std::string rate; // "12.3 KB/s", or empty
        std::string left; // "0:13 left", or empty
        bool finished = false;
        std::string result; // once finished
    };

    void logLine(const std::string& port, const std::string& text);
    static std::string lineOf(const std::string& port, std::size_t width, const PortStatus& status);

    std::ostream& stream_;
    const bool terminal_;
    const std::vector<std::string> ports_;
    std::mutex mutex_;
    std::map<std::string, PortStatus> statuses_;
    bool drawn_ = false;
};

} // namespace tavisto::cli
