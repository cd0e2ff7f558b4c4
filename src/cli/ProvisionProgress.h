#pragma once

#include "cli/ProvisionWorker.h"

#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace tavisto::cli {

// What the operator sees while the workers run. On a terminal, one line per port
// (port, model, step, percent, rate, time left), redrawn in place by redraw();
// otherwise one log line per event, "PORT: text", as the workers report them.
class ProvisionProgress {
public:
    // `terminal` selects the redrawn lines, written to `stream`; else log lines go there.
    ProvisionProgress(std::ostream& stream, bool terminal, std::vector<std::string> ports);

    // The events the workers report to; safe to call from any thread.
    WorkerEvents events();

    // Rewrites the port lines (on a terminal; does nothing otherwise).
    void redraw();

private:
    static std::string lineOf(const std::string& port, std::size_t width, const PortStatus& status);

    std::ostream& stream_;
    const bool terminal_;
    const std::vector<std::string> ports_;
    std::mutex mutex_;
    std::map<std::string, PortStatus> statuses_;
    bool drawn_ = false;
};

} // namespace tavisto::cli
