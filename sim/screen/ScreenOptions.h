#pragma once

#include <string>

namespace tavisto::sim {

// Where tavisto-sim keeps a picture of its screen (--screen FILE.png) and how often at
// most it rewrites it (--screen-every MS).
struct ScreenOptions {
    std::string file;
    int everyMs = 200;
};

// The longest wait --screen-every takes, in milliseconds.
inline constexpr int kLongestScreenPause = 60'000;

std::string screenUsageText();

} // namespace tavisto::sim
