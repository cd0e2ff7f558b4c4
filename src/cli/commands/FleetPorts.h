#pragma once

#include "cli/shell/CliCommand.h"

#include <string>
#include <vector>

namespace tavisto::cli {

// The ports a fleet command works on: a list given with --ports, or every port the
// machine lists (--all-ports).
struct PortChoice {
    std::vector<std::string> listed; // --ports P1,P2,...
    bool all = false;                // --all-ports
};

// "P1,P2,..." as a list; throws UsageError for an empty entry or a port given twice.
std::vector<std::string> ParsePortList(const std::string& text);

// The ports of the choice; false after saying why on the error stream (no port listed,
// or the listing failed).
bool ChosenPorts(CliContext& context, const PortChoice& choice, std::vector<std::string>& ports);

} // namespace tavisto::cli
