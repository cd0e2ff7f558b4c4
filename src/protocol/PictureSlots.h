#pragma once

namespace tavisto {

// The fourteen picture slots are numbered 73 to 86; the transfer job of slot n
// sits at table position n + 4 (77 to 90).
inline constexpr int kFirstPictureSlot = 73;
inline constexpr int kLastPictureSlot = 86;
inline constexpr int kPictureSlotCount = kLastPictureSlot - kFirstPictureSlot + 1;
inline constexpr int kGuestPictureSlot = 86;

// The download table position of a slot's transfer job (77 to 90).
constexpr int PositionOfSlot(int slot) {
    return slot + 4;
}

// The slot a job position stands for, or 0 when the position is no picture job.
constexpr int PictureSlotOfPosition(int position) {
    const int slot = position - 4;
    return slot >= kFirstPictureSlot && slot <= kLastPictureSlot ? slot : 0;
}

// The number of the slot's "-" button (ButtonN); its "+" button is the next number.
// Slots 76 to 85 use Button1 to Button20 in pairs, 73 to 75 Button21 to Button26,
// and 86 Button27 and Button28.
constexpr int MinusButtonOfSlot(int slot) {
    if (slot >= 76 && slot <= 85)
        return 2 * (slot - 76) + 1;
    if (slot >= 73 && slot <= 75)
        return 21 + 2 * (slot - 73);
    return slot == 86 ? 27 : 0;
}

} // namespace tavisto
