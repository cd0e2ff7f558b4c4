#pragma once

#include <chrono>

namespace tavisto::sim {

using SteadyTime = std::chrono::steady_clock::time_point;
using Millis = std::chrono::milliseconds;

} // namespace tavisto::sim
