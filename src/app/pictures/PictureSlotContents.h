#pragma once

#include "pictures/Bitmap.h"
#include "protocol/PictureSlots.h"

#include <array>

namespace tavisto {

// One flag per picture slot 73..86 (index slot - 73): the slots' check boxes.
using TSlotChecks = std::array<bool, kPictureSlotCount>;

// What the picture slots hold besides their default pictures: the picture the
// operator loaded into a slot with "+", exactly as the image conversion dialog
// returned it, and the slot's PicList flag. A slot that shows its default picture
// holds no picture here; default pictures are only shown, never sent.
class TPictureSlots {
public:
    // The loaded picture of slot 73..86; an empty bitmap for a slot that shows its
    // default picture (and for numbers outside the slots).
    const Bitmap& picture(int slot) const;
    // Set once a picture was loaded with "+", cleared only by "-".
    bool PicList(int slot) const;

    // "+" confirmed: the slot holds `picture` and is flagged.
    void place(int slot, Bitmap picture);
    // "-": back to the default picture, not flagged.
    void revert(int slot);

private:
    std::array<Bitmap, kPictureSlotCount> pictures_{};
    std::array<bool, kPictureSlotCount> flags_{};
};

// The index of slot 73..86 in the per-slot arrays; throws std::out_of_range outside.
std::size_t SlotIndex(int slot);

} // namespace tavisto
