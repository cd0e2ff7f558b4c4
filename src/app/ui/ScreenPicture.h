#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tavisto::ui {

// A picture of a display's screen as its panel lights it: R, G, B bytes, rows from
// the top, no padding.
struct TScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Fills `picture` and returns true when the screen changed since the last call;
// returns false (and leaves it alone) otherwise.
using TScreenSource = std::function<bool(TScreenPicture& picture)>;

} // namespace tavisto::ui
