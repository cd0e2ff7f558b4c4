#include "sim/emulation/TextArea.h"

#include <algorithm>

namespace tavisto::sim {

namespace {

constexpr int kTextColumns = DisplayState::kColumns;
constexpr int kTextRows = DisplayState::kRows;

Bytes& rowOf(DisplayState& state, int row) {
    return state.screen[static_cast<std::size_t>(row - 1)];
}

void scrollUp(DisplayState& state) {
    std::rotate(state.screen.begin(), state.screen.begin() + 1, state.screen.end());
    state.screen.back().assign(kTextColumns, ' ');
}

} // namespace

void putText(DisplayState& state, std::string_view text) {
    for (char c : text) {
        if (state.writeMode == WriteMode::HorizontalScroll && state.cursorColumn > kTextColumns) {
            // At the right end the line moves left and the character takes the last cell.
            Bytes& row = rowOf(state, state.cursorRow);
            row.erase(0, 1);
            row += c;
            continue;
        }
        state.cursorColumn = std::clamp(state.cursorColumn, 1, kTextColumns);
        rowOf(state, state.cursorRow)[static_cast<std::size_t>(state.cursorColumn - 1)] = c;
        if (++state.cursorColumn <= kTextColumns)
            continue;
        switch (state.writeMode) {
        case WriteMode::Overwrite:
            state.cursorColumn = 1;
            state.cursorRow = state.cursorRow % kTextRows + 1;
            break;
        case WriteMode::VerticalScroll:
            state.cursorColumn = 1;
            lineFeed(state);
            break;
        case WriteMode::HorizontalScroll:
            break; // stays past the end until the next character
        }
    }
}

void lineFeed(DisplayState& state) {
    if (state.cursorRow < kTextRows)
        ++state.cursorRow;
    else if (state.writeMode == WriteMode::VerticalScroll)
        scrollUp(state);
}

void setRow(DisplayState& state, int row, std::string_view text) {
    Bytes line(text.substr(0, kTextColumns));
    line.resize(kTextColumns, ' ');
    rowOf(state, row) = line;
}

void clearCursorRow(DisplayState& state) {
    rowOf(state, state.cursorRow).assign(kTextColumns, ' ');
    state.cursorColumn = 1;
}

} // namespace tavisto::sim
