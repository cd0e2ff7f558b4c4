#include "sim/emulation/PosSequences.h"

#include <cstddef>

namespace tavisto::sim {

namespace {

using Verdict = PosSequence::Verdict;

constexpr std::size_t kMaxLineText = 40; // a CD5220 line command's text, before its CR

PosSequence fixed(std::size_t have, std::size_t total, PosCommandSet set, const char* name) {
    return {have < total ? Verdict::NeedMore : Verdict::Complete, set, name};
}

PosSequence malformed(const char* why) {
    return {Verdict::Malformed, PosCommandSet::Both, why};
}

PosSequence judgeEsc(std::string_view b) {
    const std::size_t n = b.size();
    switch (static_cast<unsigned char>(b[1])) {
    case 0x40:
        return fixed(n, 2, PosCommandSet::Both, "initialise");
    case 0x3D:
        return fixed(n, 3, PosCommandSet::EscPos, "select device");
    case 0x11:
        return fixed(n, 2, PosCommandSet::Cd5220, "overwrite mode");
    case 0x12:
        return fixed(n, 2, PosCommandSet::Cd5220, "vertical scroll mode");
    case 0x13:
        return fixed(n, 2, PosCommandSet::Cd5220, "horizontal scroll mode");
    case 0x6C:
        return fixed(n, 4, PosCommandSet::Cd5220, "cursor position");
    case 0x5F:
        return fixed(n, 3, PosCommandSet::Cd5220, "cursor on/off");
    case 0x2A:
        return fixed(n, 3, PosCommandSet::Cd5220, "brightness");
    case 0x66:
        return fixed(n, 3, PosCommandSet::Cd5220, "character set");
    case 0x63:
        return fixed(n, 3, PosCommandSet::Cd5220, "code page");
    case 0x5B: {
        if (n == 2)
            return {Verdict::NeedMore, PosCommandSet::Cd5220, ""};
        switch (b[2]) {
        case 'A':
        case 'B':
        case 'C':
        case 'D':
        case 'H':
        case 'K':
        case 'L':
        case 'R':
            return {Verdict::Complete, PosCommandSet::Cd5220, "cursor move"};
        default:
            return malformed("unknown ESC [ sequence");
        }
    }
    case 0x51: {
        if (n == 2)
            return {Verdict::NeedMore, PosCommandSet::Cd5220, ""};
        if (b[2] != 'A' && b[2] != 'B' && b[2] != 'D')
            return malformed("unknown ESC Q sequence");
        if (n > 3 && b.back() == 0x0D)
            return {Verdict::Complete, PosCommandSet::Cd5220, "line text"};
        if (n > 3 + kMaxLineText)
            return malformed("line text without CR");
        return {Verdict::NeedMore, PosCommandSet::Cd5220, ""};
    }
    default:
        return malformed("unknown ESC sequence");
    }
}

PosSequence judgeUs(std::string_view b) {
    const std::size_t n = b.size();
    switch (static_cast<unsigned char>(b[1])) {
    case 0x01:
        return fixed(n, 2, PosCommandSet::EscPos, "overwrite mode");
    case 0x02:
        return fixed(n, 2, PosCommandSet::EscPos, "vertical scroll mode");
    case 0x03:
        return fixed(n, 2, PosCommandSet::EscPos, "horizontal scroll mode");
    case 0x0A:
        return fixed(n, 2, PosCommandSet::EscPos, "cursor up");
    case 0x0D:
        return fixed(n, 2, PosCommandSet::EscPos, "cursor to right end");
    case 0x42:
        return fixed(n, 2, PosCommandSet::EscPos, "cursor to bottom");
    case 0x43:
        return fixed(n, 3, PosCommandSet::EscPos, "cursor on/off");
    case 0x45:
        return fixed(n, 3, PosCommandSet::EscPos, "blink");
    default:
        return malformed("unknown 1F sequence");
    }
}

} // namespace

PosSequence judgePosSequence(std::string_view b) {
    if (b.empty())
        return {Verdict::NeedMore, PosCommandSet::Both, ""};
    switch (static_cast<unsigned char>(b[0])) {
    case 0x18:
        return {Verdict::Complete, PosCommandSet::Both, "clear cursor line"};
    case 0x1B:
        return b.size() < 2 ? PosSequence{Verdict::NeedMore, PosCommandSet::Both, ""} : judgeEsc(b);
    case 0x1F:
        return b.size() < 2 ? PosSequence{Verdict::NeedMore, PosCommandSet::Both, ""} : judgeUs(b);
    default:
        return malformed("unknown control byte");
    }
}

} // namespace tavisto::sim
