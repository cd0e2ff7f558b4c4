#pragma once

#include <string>

namespace tavisto {

// What one item of a workflow came to, for a front end or a report to show in its own
// way: the item's name, whether it succeeded and, when it did not, why.
struct TOutcome {
    std::string name;
    bool succeeded = false;
    std::string cause; // empty when it succeeded

    friend bool operator==(const TOutcome&, const TOutcome&) = default;
};

} // namespace tavisto
