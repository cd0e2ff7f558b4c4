#pragma once

#include "sim/VirtualDisplay.h"

#include <string>
#include <vector>

namespace tavisto::sim {

struct CommandLine {
    SimOptions options;
    bool verbose = false;
    bool help = false;
};

// Reads the program's options; false with a message on a bad option.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

std::string usageText();

} // namespace tavisto::sim
