#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavisto {

// The main window's command line.
struct TWindowArguments {
    // --simulate MODEL: run a virtual display of that model (index 0..6) and list
    // its device first among the ports.
    std::optional<int> simulateModel;
};

// Reads the arguments after the program name. False with a message on an unknown
// option, a missing model or a model name that is not in the model table.
bool ParseWindowArguments(const std::vector<std::string>& args, TWindowArguments& out,
                          std::string& error);

} // namespace tavisto
