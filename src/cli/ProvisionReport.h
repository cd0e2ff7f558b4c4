#pragma once

#include "cli/ProvisionWorker.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavisto::cli {

// The JSON report of a provisioning run:
//   {"profile": PATH, "ports": [{"port", "model", "firmware", "result", "seconds",
//    "error", "steps": [{"step", "result", "bytes", "seconds", "error"}]}]}
// with null for a model, firmware or error that is not known or not there.
std::string ReportJson(const std::string& profile, const std::vector<PortResult>& ports);

// The ports of an earlier report whose result is not "succeeded", in its order. False
// with `error` naming the file when it cannot be read or is no such report.
bool FailedPortsOfReport(const std::filesystem::path& report, std::vector<std::string>& ports,
                         std::string& error);

// The closing table: port, model, firmware, result, time and first error, a row per
// port under a heading.
std::string ResultTable(const std::vector<PortResult>& ports);

} // namespace tavisto::cli
