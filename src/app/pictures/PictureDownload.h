#pragma once

#include "app/Operator.h"
#include "app/pictures/PictureSlotContents.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

#include <string>
#include <vector>

namespace tavisto {

// Step 3 of "Download": the slots to send, in ascending order. A checked slot that
// holds a loaded picture is sent when its PicList flag is set; otherwise its box is
// unchecked. Slots showing their default picture are never sent.
std::vector<int> SlotsToSend(const TPictureSlots& contents, TSlotChecks& checked);

// The warning for a slot whose picture does not have the size the model takes in that
// slot, or an empty text when the sizes agree (or the model has no such slot, which
// the engine reports as not supported).
std::string SlotSizeMismatch(const TPictureSlots& contents, int slot, const DisplayModel& model);

// "Download" of the Picture Management tab (btn_DownloadPictrueClick) for a display of
// model `model` (nullptr: none connected): queues the flagged, checked slots and
// starts the transfer engine at position 77. A slot whose picture has another size
// than the model takes there is not sent: a warning names it with both sizes, and the
// other slots still go. With nothing to send it stops without a message. The link is
// prepared as for every download (PrepareDownloadLink), the progress shows over the
// slots, and when the display does not answer at 115200 baud the link, session,
// progress and controls are put back and the reason is shown. Returns true when the
// queue started; the engine then runs it on the owner's thread and ends with the
// "Done!" box.
bool btn_DownloadPictrueClick(TConnection& connection, TOperator& op, const DisplayModel* model,
                              TTransferRunner& runner, const TPictureSlots& contents,
                              TSlotChecks& checked);

} // namespace tavisto
