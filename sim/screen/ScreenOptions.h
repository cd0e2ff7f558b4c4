#pragma once

#include <string>
#include <vector>

namespace tavisto::sim {

// Where tavisto-sim keeps a picture of its screen (--screen FILE.png) and how often at
// most it rewrites it (--screen-every MS).
struct ScreenOptions {
    std::string file;
    int everyMs = 200;
};

// Takes the screen options out of `args`, leaving the others for the display's own
// options; false with a message on a missing or bad value.
bool takeScreenOptions(std::vector<std::string>& args, ScreenOptions& out, std::string& error);

std::string screenUsageText();

} // namespace tavisto::sim
