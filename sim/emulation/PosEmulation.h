#pragma once

#include "sim/device/Display.h"

#include <string>
#include <string_view>

namespace tavisto::sim {

// Command modes (the settings' Comm_No) whose sequences the display emulates.
inline constexpr int kEscPosMode = 1;
inline constexpr int kCd5220Mode = 7;
inline constexpr int kAutoMode = 255;

// Acts on a complete sequence of an emulated command set (see PosSequences.h) as the
// display's command mode says: EPSON Esc/POS and CD5220 take their own sequences,
// AUTO takes both and settles on the set whose own sequence came last, every other
// mode is not emulated. False with the reason in `note` when the sequence is not
// taken; `note` says what was done otherwise.
bool applyPosSequence(std::string_view bytes, DisplayState& state, std::string& note);

// The name of a command mode as the settings list shows it ("EPSON Esc/POS", ...).
std::string commandModeName(int commNo);

} // namespace tavisto::sim
