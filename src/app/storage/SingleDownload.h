#pragma once

#include "app/Operator.h"
#include "app/storage/DownloadLink.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavisto {

// The filter of the file dialog of the single-item download.
inline constexpr const char* kDownloadFileFilter =
    "Bin Files(*.bin)|*.bin|JPEG Image File (*.jpg)|*.jpg";

// The question asked before a firmware file chosen by the operator is sent.
std::string FirmwareFileQuestion(const std::string& fileName, std::size_t size,
                                 std::string_view modelName);

// Why the single download of a picture-slot row sends nothing: the slot shows its
// built-in default picture.
std::string SlotWithoutPictureText(int position);

// "Download" of one item of the download file table (btn_CharacterSetDownSingleClick):
// `position` 1..93 is sent from `fileName` to a display of model `model` (nullptr:
// none connected).
// A picture slot (positions 77 to 90) is sent from the slot's current picture, as the
// engine's sources give it, not from the file; a slot that still shows its default
// picture is refused with SlotWithoutPictureText.
// Checks what it can before touching the display (position, model, a readable file,
// no queue running) and shows an error box for bad input. The file is read once, as
// ReadDownloadFile does, and the queue sends what was read. A firmware file (position 93)
// is sent only after the operator answers Yes to FirmwareFileQuestion, and a file whose size
// is not the item's on this model (ExpectedItemSize) only after Yes to OddSizeQuestion;
// on No nothing is sent. Returns true when the queue started; the engine then runs it on
// the owner's thread and ends with the "Done!" box (engine().Running() turns false).
bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op,
                                     const DisplayModel* model, TTransferRunner& runner,
                                     int position, const std::string& fileName);

// The same for a file its caller has read already (ReadDownloadFile): `contents` is
// sent, and `fileName` only names it (in the firmware question).
bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op,
                                     const DisplayModel* model, TTransferRunner& runner,
                                     int position, const std::string& fileName,
                                     const Bytes& contents);

} // namespace tavisto
