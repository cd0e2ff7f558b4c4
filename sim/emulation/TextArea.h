#pragma once

#include "sim/device/Display.h"

#include <string_view>

namespace tavisto::sim {

// The customer-display text area: 20 columns by 4 rows, a cursor, and what writing
// past a line's end does (the write mode).

// Writes bytes at the cursor and moves it on as the write mode says.
void putText(DisplayState& state, std::string_view text);
// A line feed: the next row, or in vertical scroll mode on the last row the rows
// move up one and the last one is emptied.
void lineFeed(DisplayState& state);
// Replaces a row (1 to 4) with a text, cut at 20 bytes and filled with spaces.
void setRow(DisplayState& state, int row, std::string_view text);
// Empties the cursor's row and puts the cursor at its left end.
void clearCursorRow(DisplayState& state);

} // namespace tavisto::sim
