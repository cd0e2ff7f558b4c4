#include "app/pictures/PictureDownload.h"

#include "app/storage/DownloadLink.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"

namespace tavisto {

namespace {

constexpr int kFirstPicturePosition = PositionOfSlot(kFirstPictureSlot);

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

std::vector<int> SlotsToSend(const TPictureSlots& slots, TSlotChecks& checked) {
    std::vector<int> send;
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot) {
        bool& box = checked[SlotIndex(slot)];
        if (!box || slots.picture(slot).empty())
            continue;
        if (slots.PicList(slot))
            send.push_back(slot);
        else
            box = false;
    }
    return send;
}

std::string SlotSizeMismatch(const TPictureSlots& slots, int slot, const DisplayModel& model) {
    const Bitmap& picture = slots.picture(slot);
    const auto size = SlotPictureSize(model, slot);
    if (!size || picture.empty() ||
        (picture.width() == size->width && picture.height() == size->height))
        return {};
    return "Slot " + std::to_string(slot) + " (" + DownFileAt(PositionOfSlot(slot)).Name +
           ") holds a " + sizeText(picture.width(), picture.height()) + " picture, but the " +
           std::string(model.name) + " takes " + sizeText(size->width, size->height) +
           " there. It is not sent; load it again with \"+\".";
}

bool btn_DownloadPictrueClick(TConnection& connection, TOperator& op, const DisplayModel* model,
                              TTransferRunner& runner, const TPictureSlots& slots,
                              TSlotChecks& checked) {
    TTransferEngine& engine = runner.engine();
    if (!ReadyForQueue(op, model, runner))
        return false;

    engine.SetDownListNull();
    std::string refused;
    for (const int slot : SlotsToSend(slots, checked)) {
        if (std::string mismatch = SlotSizeMismatch(slots, slot, *model); !mismatch.empty())
            refused += (refused.empty() ? "" : "\r\n") + mismatch;
        else
            engine.Mark(PositionOfSlot(slot));
    }
    // A picture of the wrong size would fill the display's storage wrongly.
    if (!refused.empty())
        op.ShowMsgBox(refused, kMbIconWarning);
    if (engine.GetDownListTrueTotal() == 0)
        return false;

    if (!PrepareDownloadLink(connection, op))
        return false;
    engine.SummaryText = kDownloadReportHeading;
    TTransferEngine::TQueueStart start;
    start.model = model;
    start.fromResources = false;
    start.firstPosition = kFirstPicturePosition;
    // The pictures go only to a display that still answers at the transfer speed.
    return StartDownloadQueue(connection, op, engine, start, TProgressKind::PictureSlots, true);
}

} // namespace tavisto
