#include "app/pictures/SlotPictures.h"

#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"

#include <exception>

namespace tavisto {

TJobSources TFilledSlots::sources() const {
    TJobSources sources;
    sources.slotPicture = [slots = slots](int slot) {
        return slots->picture(slot);
    };
    return sources;
}

TFilledSlots PutPicturesInSlots(const DisplayModel& model,
                                const std::vector<TSlotPicture>& pictures) {
    TFilledSlots filled;
    for (const TSlotPicture& picture : pictures) {
        TSlotProblem problem{false, picture.slot, DownFileAt(PositionOfSlot(picture.slot)).Name,
                             picture.file, ""};
        const auto size = SlotPictureSize(model, picture.slot);
        if (!size) {
            problem.noSuchSlot = true;
            filled.problem = problem;
            return filled;
        }
        try {
            filled.slots->place(picture.slot,
                                picture.converted
                                    ? *picture.converted
                                    : ConvertCentred(*picture.bytes, picture.format,
                                                     PictureSize{size->width, size->height}));
        } catch (const std::exception& error) {
            problem.cause = error.what();
            filled.problem = problem;
            return filled;
        }
        filled.checked[SlotIndex(picture.slot)] = true;
    }
    return filled;
}

} // namespace tavisto
