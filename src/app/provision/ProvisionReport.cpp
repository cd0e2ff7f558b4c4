#include "app/provision/ProvisionReport.h"

#include "app/provision/Profile.h"
#include "files/Utf8Path.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <sstream>

namespace tavisto::provision {

namespace {

using nlohmann::ordered_json;

// Seconds to a tenth: a report is read by people too.
double tenths(double seconds) {
    return std::round(seconds * 10) / 10;
}

ordered_json orNull(const std::optional<std::string>& text) {
    return text ? ordered_json(*text) : ordered_json(nullptr);
}

ordered_json errorOrNull(const std::string& error) {
    return error.empty() ? ordered_json(nullptr) : ordered_json(error);
}

std::string timeText(double seconds) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << seconds << " s";
    return text.str();
}

ordered_json portEntry(const PortResult& port) {
    ordered_json entry = ordered_json::object();
    entry["port"] = port.port;
    entry["model"] = orNull(port.model);
    entry["firmware"] = orNull(port.firmware);
    entry["result"] = port.result;
    entry["seconds"] = tenths(port.seconds);
    entry["error"] = errorOrNull(port.error);
    entry["steps"] = ordered_json::array();
    for (const StepResult& step : port.steps) {
        ordered_json stepEntry = ordered_json::object();
        stepEntry["step"] = step.step;
        stepEntry["result"] = step.result;
        stepEntry["bytes"] = step.bytes;
        stepEntry["seconds"] = tenths(step.seconds);
        stepEntry["error"] = errorOrNull(step.error);
        entry["steps"].push_back(std::move(stepEntry));
    }
    return entry;
}

} // namespace

std::string ReportJson(const std::string& profile, const std::vector<PortResult>& ports,
                       const EarlierReport* earlier) {
    ordered_json report = ordered_json::object();
    report["profile"] = profile;
    report["ports"] = ordered_json::array();
    std::vector<bool> placed(ports.size(), false);
    if (earlier) {
        // The earlier report's order, with this run's entry for each port run again.
        for (const auto& [port, entryText] : earlier->entries) {
            if (!entryText.empty()) {
                ordered_json entry = ordered_json::parse(entryText);
                entry["from_earlier_run"] = true;
                report["ports"].push_back(std::move(entry));
                continue;
            }
            for (std::size_t i = 0; i < ports.size(); ++i) {
                if (!placed[i] && ports[i].port == port) {
                    report["ports"].push_back(portEntry(ports[i]));
                    placed[i] = true;
                    break;
                }
            }
        }
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (!placed[i])
            report["ports"].push_back(portEntry(ports[i]));
    }
    // A display's message could hold bytes that are no UTF-8: they print as U+FFFD.
    return report.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

bool ReadEarlierReport(const std::filesystem::path& report, EarlierReport& earlier,
                       std::string& error) {
    std::string text;
    if (!ReadInputFile(report, text, error)) {
        error = Utf8FromPath(report) + ": " + error;
        return false;
    }
    ordered_json root;
    try {
        root = ordered_json::parse(text);
    } catch (const ordered_json::exception& problem) {
        error = Utf8FromPath(report) + ": is not JSON: " + problem.what();
        return false;
    }
    if (!root.is_object() || !root.contains("ports") || !root["ports"].is_array()) {
        error = Utf8FromPath(report) + ": is not a provisioning report (it has no \"ports\" list)";
        return false;
    }
    earlier = EarlierReport{};
    for (const auto& entry : root["ports"]) {
        if (!entry.is_object() || !entry.contains("port") || !entry["port"].is_string() ||
            !entry.contains("result") || !entry["result"].is_string()) {
            error = Utf8FromPath(report) + ": a port of the report has no \"port\" or \"result\"";
            return false;
        }
        const std::string port = entry["port"].get<std::string>();
        const bool succeeded = entry["result"] == kSucceeded;
        if (!succeeded)
            earlier.retry.push_back(port);
        earlier.entries.emplace_back(
            port, succeeded ? entry.dump(-1, ' ', false, ordered_json::error_handler_t::replace)
                            : std::string());
    }
    return true;
}

std::string ResultTable(const std::vector<PortResult>& ports) {
    std::vector<std::vector<std::string>> rows = {
        {"PORT", "MODEL", "FIRMWARE", "RESULT", "TIME", "FIRST ERROR"}};
    for (const PortResult& port : ports)
        rows.push_back({port.port, port.model.value_or("-"), port.firmware.value_or("-"),
                        port.result, timeText(port.seconds),
                        port.error.empty() ? "-" : port.error});
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    std::string table;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        table += line + '\n';
    }
    return table;
}

} // namespace tavisto::provision
