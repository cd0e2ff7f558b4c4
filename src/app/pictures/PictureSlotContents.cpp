#include "app/pictures/PictureSlotContents.h"

#include <stdexcept>
#include <string>

namespace tavisto {

std::size_t SlotIndex(int slot) {
    if (slot < kFirstPictureSlot || slot > kLastPictureSlot)
        throw std::out_of_range("no picture slot " + std::to_string(slot));
    return static_cast<std::size_t>(slot - kFirstPictureSlot);
}

const Bitmap& TPictureSlots::picture(int slot) const {
    static const Bitmap none;
    if (slot < kFirstPictureSlot || slot > kLastPictureSlot)
        return none;
    return pictures_[SlotIndex(slot)];
}

bool TPictureSlots::PicList(int slot) const {
    return slot >= kFirstPictureSlot && slot <= kLastPictureSlot && flags_[SlotIndex(slot)];
}

void TPictureSlots::place(int slot, Bitmap picture) {
    pictures_[SlotIndex(slot)] = std::move(picture);
    flags_[SlotIndex(slot)] = true;
}

void TPictureSlots::revert(int slot) {
    pictures_[SlotIndex(slot)] = Bitmap();
    flags_[SlotIndex(slot)] = false;
}

} // namespace tavisto
