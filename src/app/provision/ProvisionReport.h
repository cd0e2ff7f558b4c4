#pragma once

#include "app/provision/ProvisionWorker.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tavisto::provision {

// The ports of an earlier report, for --retry-failed: those to run again (their
// result was not "succeeded") and, in the report's order, every port's entry, as
// JSON text for one that succeeded and empty for one run again.
struct EarlierReport {
    std::vector<std::string> retry;
    std::vector<std::pair<std::string, std::string>> entries; // port, entry
};

// The JSON report of a provisioning run:
//   {"profile": PATH, "ports": [{"port", "model", "firmware", "result", "seconds",
//    "error", "steps": [{"step", "result", "bytes", "seconds", "error"}]}]}
// with null for a model, firmware or error that is not known or not there. A run of
// the ports an earlier report did not succeed on keeps that report's order and its
// entries of the ports that did, marked "from_earlier_run": true.
std::string ReportJson(const std::string& profile, const std::vector<PortResult>& ports,
                       const EarlierReport* earlier = nullptr);

// Reads an earlier report. False with `error` naming the file when it cannot be read
// or is no such report.
bool ReadEarlierReport(const std::filesystem::path& report, EarlierReport& earlier,
                       std::string& error);

// The closing table: port, model, firmware, result, time and first error, a row per
// port under a heading.
std::string ResultTable(const std::vector<PortResult>& ports);

} // namespace tavisto::provision
