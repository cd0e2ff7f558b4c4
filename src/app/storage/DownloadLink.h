#pragma once

#include "app/Operator.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

namespace tavisto {

// The start every download workflow shares: the checks before it touches the
// display, the link at the transfer speed, and the start of the engine's queue.

// Heads the error box of a display that does not answer before a download.
inline constexpr const char* kDownloadNotFoundPrefix = "Not found the devies!";

// The checks of every download workflow before it touches the display: no queue is
// running and there is a connected model (`model` is not nullptr). On failure it
// shows why in an error box and returns false.
bool ReadyForQueue(TOperator& op, const DisplayModel* model, TTransferRunner& runner);

// The common preparation of the download workflows: opens the session when it is
// closed (stored port and rate), waits for the display to answer, then switches
// the display and the port to 115200 baud. On failure it shows the reason in an
// error box ("Not found the devies!" and the reason when the display does not
// answer), leaves the session closed and returns false.
bool PrepareDownloadLink(TConnection& connection, TOperator& op);

// The workflow's side of the engine's contract once its rows are marked: the
// progress shows (`progress`), the controls are disabled and the queue starts.
// With `recheckLink` the display must first answer again on the open session;
// when it does not, the link is switched back and closed, the progress and the
// controls are put back, the reason is shown and false returned.
bool StartDownloadQueue(TConnection& connection, TOperator& op, TTransferEngine& engine,
                        const TTransferEngine::TQueueStart& start, TProgressKind progress,
                        bool recheckLink = false);

} // namespace tavisto
