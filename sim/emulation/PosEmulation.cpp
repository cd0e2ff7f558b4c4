#include "sim/emulation/PosEmulation.h"

#include "settings/Vocabulary.h"
#include "sim/emulation/PosSequences.h"
#include "sim/emulation/TextArea.h"

#include <algorithm>

namespace tavisto::sim {

namespace {

constexpr int kColumns = DisplayState::kColumns;
constexpr int kRows = DisplayState::kRows;

unsigned at(std::string_view b, std::size_t i) {
    return static_cast<unsigned char>(b[i]);
}

int modeOfSet(PosCommandSet set) {
    return set == PosCommandSet::EscPos ? kEscPosMode : kCd5220Mode;
}

// Whether the display's command mode takes a sequence of `set`; in AUTO mode a
// sequence of one set only decides the set.
bool takes(DisplayState& state, PosCommandSet set, std::string& note) {
    const int mode = state.settings.Comm_No;
    if (mode == kAutoMode) {
        if (set != PosCommandSet::Both && state.autoCommandSet != modeOfSet(set)) {
            state.autoCommandSet = modeOfSet(set);
            note = "AUTO: taking " + commandModeName(state.autoCommandSet) + "; ";
        }
        return true;
    }
    if (mode != kEscPosMode && mode != kCd5220Mode) {
        note = "command set " + commandModeName(mode) + " is not emulated";
        return false;
    }
    if (set != PosCommandSet::Both && modeOfSet(set) != mode) {
        note = "not a " + commandModeName(mode) + " command";
        return false;
    }
    return true;
}

void initialise(DisplayState& state) {
    for (Bytes& row : state.screen)
        row.assign(kColumns, ' ');
    state.cursorColumn = 1;
    state.cursorRow = 1;
    state.writeMode = WriteMode::Overwrite;
    state.cursorShown = false;
}

bool moveTo(DisplayState& state, unsigned column, unsigned row, std::string& note) {
    if (column < 1 || column > kColumns || row < 1 || row > kRows) {
        note += "position out of range";
        return false;
    }
    state.cursorColumn = static_cast<int>(column);
    state.cursorRow = static_cast<int>(row);
    note += "column " + std::to_string(column) + ", row " + std::to_string(row);
    return true;
}

bool brightness(DisplayState& state, unsigned step, std::string& note) {
    if (step < 1 || step > 4) {
        note += "brightness step out of range";
        return false;
    }
    state.brightnessStep = static_cast<int>(step);
    state.settings.back_light = brightnessCodeOfStep(static_cast<int>(step));
    note += "brightness step " + std::to_string(step);
    return true;
}

void cursorMove(DisplayState& state, char how) {
    int& column = state.cursorColumn;
    int& row = state.cursorRow;
    switch (how) {
    case 'A':
        row = std::max(1, row - 1);
        break;
    case 'B':
        lineFeed(state);
        break;
    case 'C':
        column = std::min(kColumns, column + 1);
        break;
    case 'D':
        column = std::max(1, std::min(kColumns, column) - 1);
        break;
    case 'H':
        column = 1;
        row = 1;
        break;
    case 'K':
        row = kRows;
        break;
    case 'L':
        column = 1;
        break;
    case 'R':
        column = kColumns;
        break;
    }
}

bool applyEsc(std::string_view b, DisplayState& state, std::string& note) {
    switch (at(b, 1)) {
    case 0x40:
        initialise(state);
        note += "initialised";
        return true;
    case 0x3D:
        note += "device " + std::to_string(at(b, 2)) + " selected";
        return true;
    case 0x11:
        state.writeMode = WriteMode::Overwrite;
        note += "overwrite mode";
        return true;
    case 0x12:
        state.writeMode = WriteMode::VerticalScroll;
        note += "vertical scroll mode";
        return true;
    case 0x13:
        state.writeMode = WriteMode::HorizontalScroll;
        note += "horizontal scroll mode";
        return true;
    case 0x6C:
        return moveTo(state, at(b, 2), at(b, 3), note);
    case 0x5F:
        state.cursorShown = at(b, 2) != 0;
        note += state.cursorShown ? "cursor on" : "cursor off";
        return true;
    case 0x2A:
        return brightness(state, at(b, 2), note);
    case 0x66:
        if (!isKnownInterChar(static_cast<int>(at(b, 2)))) {
            note += "unknown character set";
            return false;
        }
        state.settings.Char_No = static_cast<std::uint8_t>(at(b, 2));
        note += "character set " + std::to_string(at(b, 2));
        return true;
    case 0x63:
        if (!isKnownCodePage(static_cast<int>(at(b, 2)))) {
            note += "unknown code page";
            return false;
        }
        state.settings.Expand_Char_No = static_cast<std::uint8_t>(at(b, 2));
        note += "code page " + std::to_string(at(b, 2));
        return true;
    case 0x5B:
        cursorMove(state, b[2]);
        note += "cursor now at column " + std::to_string(state.cursorColumn) + ", row " +
                std::to_string(state.cursorRow);
        return true;
    case 0x51: {
        // Upper line (A, and D: a message the real display runs across it) or lower (B).
        const int row = b[2] == 'B' ? 2 : 1;
        const std::string_view text = b.substr(3, b.size() - 4);
        setRow(state, row, text);
        note += (row == 1 ? "upper line \"" : "lower line \"") + std::string(text) + "\"";
        return true;
    }
    }
    return false;
}

bool applyUs(std::string_view b, DisplayState& state, std::string& note) {
    switch (at(b, 1)) {
    case 0x01:
        state.writeMode = WriteMode::Overwrite;
        note += "overwrite mode";
        return true;
    case 0x02:
        state.writeMode = WriteMode::VerticalScroll;
        note += "vertical scroll mode";
        return true;
    case 0x03:
        state.writeMode = WriteMode::HorizontalScroll;
        note += "horizontal scroll mode";
        return true;
    case 0x0A:
        state.cursorRow = std::max(1, state.cursorRow - 1);
        note += "cursor up";
        return true;
    case 0x0D:
        state.cursorColumn = kColumns;
        note += "cursor to the right end";
        return true;
    case 0x42:
        state.cursorRow = kRows;
        note += "cursor to the bottom row";
        return true;
    case 0x43:
        state.cursorShown = at(b, 2) != 0;
        note += state.cursorShown ? "cursor on" : "cursor off";
        return true;
    case 0x45:
        note += "blink interval " + std::to_string(at(b, 2)) + " (not shown)";
        return true;
    }
    return false;
}

} // namespace

std::string commandModeName(int commNo) {
    const int row =
        IndexOfCommandMode(CommandModes, static_cast<int>(CommandModes.size()) - 1, commNo);
    return row < 0 ? "number " + std::to_string(commNo)
                   : std::string(CommandModes[static_cast<std::size_t>(row)].CommandName);
}

bool applyPosSequence(std::string_view bytes, DisplayState& state, std::string& note) {
    const PosSequence sequence = judgePosSequence(bytes);
    if (sequence.verdict != PosSequence::Verdict::Complete) {
        note = "incomplete sequence";
        return false;
    }
    note.clear();
    if (!takes(state, sequence.set, note))
        return false;
    state.content = MainContent::TextArea;
    switch (at(bytes, 0)) {
    case 0x18:
        clearCursorRow(state);
        note += "cursor line cleared";
        return true;
    case 0x1B:
        return applyEsc(bytes, state, note);
    case 0x1F:
        return applyUs(bytes, state, note);
    }
    return false;
}

} // namespace tavisto::sim
