#include "app/transfer/JobSources.h"

#include "pictures/JpegCodec.h"
#include "pictures/Rgb565.h"
#include "protocol/DownloadTable.h"
#include "protocol/Hex.h"
#include "protocol/PictureSlots.h"

#include <stdexcept>

namespace tavisto {

namespace {

TJobData loaded(Bytes bytes) {
    TJobData data;
    data.outcome = bytes.empty() ? TJobData::Outcome::Skip : TJobData::Outcome::Loaded;
    data.bytes = std::move(bytes);
    return data;
}

TJobData failed(std::string reason) {
    TJobData data;
    data.outcome = TJobData::Outcome::Failed;
    data.reason = std::move(reason);
    return data;
}

Bytes resourceBytes(const TJobSources& sources, const std::string& name) {
    if (!sources.resource)
        return {};
    return sources.resource(name).value_or(Bytes());
}

TJobData slotPicture(int slot, const DisplayModel& model, const TJobSources& sources) {
    const Bitmap picture = sources.slotPicture ? sources.slotPicture(slot) : Bitmap();
    if (picture.empty())
        return {};
    try {
        if (model.isNamed())
            return loaded(BitmapToJpeg(picture));
        const auto size = SlotPictureSize(model, slot);
        if (!size)
            return {};
        return loaded(BitmapToRgb565(picture, size->width, size->height));
    } catch (const std::exception& error) {
        // A picture smaller than its slot, or one the encoder refuses: nothing made
        // up is sent in its place.
        return failed(error.what());
    }
}

} // namespace

std::string FirmwareResourceName(const DisplayModel& model) {
    return RemoveChar(std::string(model.name), '-').substr(0, 7);
}

TJobData LoadJobData(int position, const DisplayModel& model, bool fromResources,
                     const Bytes& chosenData, const TJobSources& sources) {
    const TDownFiles& row = DownFileAt(position);
    if (const int slot = PictureSlotOfPosition(position))
        return slotPicture(slot, model, sources);
    if (!fromResources)
        return loaded(chosenData);
    if (position <= kLastFontPosition)
        return loaded(resourceBytes(sources, std::string(row.Name) + "_" +
                                                 std::string(model.resolutionSuffix())));
    if (position == kTablePosition)
        return loaded(resourceBytes(sources, "big52gbk"));
    if (position == kSettingsPosition || position == kFirmwarePosition) {
        const std::string name = FirmwareResourceName(model);
        Bytes image = resourceBytes(sources, name);
        if (image.empty())
            return failed("no firmware image for " + std::string(model.name));
        return loaded(std::move(image));
    }
    return {};
}

} // namespace tavisto
