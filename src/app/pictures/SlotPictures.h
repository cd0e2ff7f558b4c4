#pragma once

#include "app/pictures/PictureSlotContents.h"
#include "app/transfer/JobSources.h"
#include "pictures/PictureConvert.h"
#include "protocol/ModelTable.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavisto {

// A picture for a picture slot: the file's bytes, cut to the slot's size when placed,
// or a picture already cut to it.
struct TSlotPicture {
    int slot = 0;     // 73..86
    std::string file; // named when it cannot be decoded
    PictureFormat format = PictureFormat::Png;
    const Bytes* bytes = nullptr;
    const Bitmap* converted = nullptr; // taken as it is when set
};

// Why a picture was not put into its slot.
struct TSlotProblem {
    bool noSuchSlot = false; // the model has no such slot; otherwise the file failed
    int slot = 0;
    std::string item;  // the slot's row in the download list, "Picture 1"
    std::string file;  // the picture's file
    std::string cause; // what the decoder said, for a file that failed
};

// The slots filled and checked, as the Picture Management tab holds them before its
// Download, or the first picture that could not be put into its slot.
struct TFilledSlots {
    std::shared_ptr<TPictureSlots> slots = std::make_shared<TPictureSlots>();
    TSlotChecks checked{};
    std::optional<TSlotProblem> problem;

    // Where the engine takes the slots' pictures from.
    TJobSources sources() const;
};

// Puts each picture into its slot, cut to the size the model takes there, and checks
// the slot's box. Stops at the first picture the model has no slot for or that cannot
// be decoded.
TFilledSlots PutPicturesInSlots(const DisplayModel& model,
                                const std::vector<TSlotPicture>& pictures);

} // namespace tavisto
