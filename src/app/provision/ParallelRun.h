#pragma once

#include "cli/CliCommand.h"

#include <cstddef>
#include <functional>
#include <optional>
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

// Calls work(i) for i = 0 .. count - 1 on `jobs` threads at most (all at once when
// jobs is 0), and calls `waiting` on the calling thread about five times a second
// until every call has returned.
void RunInParallel(std::size_t count, std::size_t jobs,
                   const std::function<void(std::size_t)>& work,
                   const std::function<void()>& waiting = {});

} // namespace tavisto::cli
