#pragma once

#include "app/Operator.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavisto {

// The checks of every download workflow before it touches the display: no queue is
// running and `model` is a connected model. On failure it shows why in an error box
// and returns nullptr.
const DisplayModel* ReadyForQueue(TOperator& op, int model, TTransferRunner& runner);

// The common preparation of the download workflows: opens the session when it is
// closed (stored port and rate), waits for the display to answer, then switches
// the display and the port to 115200 baud. On failure it shows the reason in an
// error box ("Not found the devies!" and the reason when the display does not
// answer), leaves the session closed and returns false.
bool PrepareDownloadLink(TConnection& connection, TOperator& op);

// Heads the error box of a display that does not answer before a download.
inline constexpr const char* kDownloadNotFoundPrefix = "Not found the devies!";

// The filter of the file dialog of the single-item download.
inline constexpr const char* kDownloadFileFilter =
    "Bin Files(*.bin)|*.bin|JPEG Image File (*.jpg)|*.jpg";

// The question asked before a firmware file chosen by the operator is sent.
std::string FirmwareFileQuestion(const std::string& fileName, std::size_t size,
                                 std::string_view modelName);

// "Download" of one item of the download file table (btn_CharacterSetDownSingleClick):
// `position` 1..93 is sent from `fileName` to a display of model index `model`.
// Picture slots (positions 77 to 90) are refused: they are sent from their slots.
// Checks what it can before touching the display (position, model, a readable file,
// no queue running) and shows an error box for bad input. The file is read once, as
// ReadDownloadFile does, and the queue sends what was read. A firmware file (position 93)
// is sent only after the operator answers Yes to FirmwareFileQuestion. Returns true when the
// queue started; the engine then runs it on the owner's thread and ends with the
// "Done!" box (engine().Running() turns false).
bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op, int model,
                                     TTransferRunner& runner, int position,
                                     const std::string& fileName);

// The same for a file its caller has read already (ReadDownloadFile): `contents` is
// sent, and `fileName` only names it (in the firmware question).
bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op, int model,
                                     TTransferRunner& runner, int position,
                                     const std::string& fileName, const Bytes& contents);

} // namespace tavisto
