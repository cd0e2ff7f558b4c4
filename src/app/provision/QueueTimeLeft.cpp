#include "app/provision/QueueTimeLeft.h"

#include "app/provision/ProvisionWorker.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"

#include <algorithm>
#include <cmath>

namespace tavisto::provision {

namespace {

PlannedJob job(const char* step, int position, const DisplayModel& model, bool fromResources,
               const Bytes& chosen, const TJobSources& sources) {
    const TJobData data = LoadJobData(position, model, fromResources, chosen, sources);
    return {step, DownFileAt(position).Name,
            data.outcome == TJobData::Outcome::Loaded ? data.bytes.size() : 0};
}

} // namespace

TransferPlan PlanTransfers(const Profile& profile, const DisplayModel& model, bool firmwareDue,
                           const decltype(TJobSources::resource)& resource) {
    TransferPlan plan;
    if (profile.firmware && firmwareDue)
        plan.push_back(
            job(kStepFirmware, kFirmwarePosition, model, false, profile.firmware->contents, {}));
    TJobSources pictures;
    pictures.slotPicture = [&](int slot) {
        const auto size = SlotPictureSize(model, slot);
        for (const ProfilePicture& picture : profile.pictures) {
            if (picture.slot == slot && size)
                if (const Bitmap* sized = picture.sizedFor(*size))
                    return *sized;
        }
        return Bitmap();
    };
    for (const ProfilePicture& picture : profile.pictures)
        plan.push_back(
            job(kStepPictures, PositionOfSlot(picture.slot), model, false, {}, pictures));
    if (profile.builtInFonts && resource) {
        TJobSources fonts;
        fonts.resource = resource;
        for (int row = 1; row <= kLastFontPosition; ++row)
            plan.push_back(job(kStepFonts, row, model, true, {}, fonts));
        plan.push_back(job(kStepFonts, kTablePosition, model, true, {}, fonts));
    }
    for (const ProfileItem& item : profile.fontItems)
        plan.push_back(job(kStepFonts, item.position, model, false, item.contents, {}));
    std::erase_if(plan, [](const PlannedJob& planned) { return planned.bytes == 0; });
    return plan;
}

void QueueTimeLeft::stepEnded(const std::string& step, double seconds) {
    for (; current_ < plan_.size() && plan_[current_].step == step; ++current_)
        doneBytes_ += plan_[current_].bytes;
    doneSeconds_ += seconds;
}

int QueueTimeLeft::secondsLeft(const std::string& step, const std::string& item,
                               std::uint64_t itemDone, double seconds) {
    // The jobs of this step before the item have run.
    for (std::size_t i = current_; i < plan_.size() && plan_[i].step == step; ++i) {
        if (plan_[i].item == item) {
            for (; current_ < i; ++current_)
                doneBytes_ += plan_[current_].bytes;
            break;
        }
    }
    const bool onItem =
        current_ < plan_.size() && plan_[current_].step == step && plan_[current_].item == item;
    if (onItem)
        itemDone = std::min(itemDone, plan_[current_].bytes);
    else
        itemDone = 0;
    const double elapsed = doneSeconds_ + seconds;
    const double done = static_cast<double>(doneBytes_ + itemDone);
    if (elapsed <= 0 || done <= 0)
        return -1;
    std::uint64_t left = 0;
    for (std::size_t i = current_; i < plan_.size(); ++i)
        left += plan_[i].bytes;
    return static_cast<int>(std::ceil(static_cast<double>(left - itemDone) * elapsed / done));
}

} // namespace tavisto::provision
