#pragma once

#include "sim/runtime/VirtualDisplay.h"
#include "sim/screen/ScreenOptions.h"

#include <string>
#include <vector>

namespace tavisto::sim {

struct CommandLine {
    // A person running the program gets a display that moves bytes as fast as a real
    // line would; --unpaced (for tests and scripts) takes the pacing off.
    CommandLine() { options.faults.pacing = true; }

    SimOptions options;
    ScreenOptions screen;
    bool verbose = false;
    bool help = false;
};

// Reads the program's options ("--name VALUE" or "--name=VALUE"), the screen's among
// them; false with a message on a bad option.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// The help text; it says whether this run is paced.
std::string usageText(bool paced = true);

} // namespace tavisto::sim
