#pragma once

#include "tests/app/RecordingOperator.h"

#include <string>
#include <vector>

namespace tavisto::testing {

// The log-pane lines among what the operator was shown ("log! " for red ones).
inline std::vector<std::string> LogLines(const RecordingOperator& op) {
    std::vector<std::string> lines;
    for (const auto& s : op.status)
        if (s.rfind("log", 0) == 0)
            lines.push_back(s);
    return lines;
}

} // namespace tavisto::testing
