#pragma once

#include <string_view>

namespace tavisto::sim {

// The command sequences of the emulated customer-display command sets, beyond the
// display's own (08 to 0D, 0C, 1F 24, 1F 58, 1B 74, 1B 52, which every mode takes).
// Written out in sim/emulation/COMMAND-SETS.md.
enum class PosCommandSet { Both, EscPos, Cd5220 };

struct PosSequence {
    enum class Verdict { NeedMore, Complete, Malformed };
    Verdict verdict = Verdict::Malformed;
    PosCommandSet set = PosCommandSet::Both;
    const char* name = "";
};

// Judges the bytes of a sequence in progress that begins with ESC (1B), US (1F) or
// CAN (18). Every byte but the last has been judged before.
PosSequence judgePosSequence(std::string_view bytes);

} // namespace tavisto::sim
