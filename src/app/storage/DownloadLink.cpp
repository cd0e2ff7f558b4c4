#include "app/storage/DownloadLink.h"

#include "protocol/LinkControl.h"
#include "protocol/Session.h"

namespace tavisto {

const DisplayModel* ReadyForQueue(TOperator& op, int model, TTransferRunner& runner) {
    if (runner.engine().Running()) {
        ShowError(op, "A download is already running.");
        return nullptr;
    }
    const DisplayModel* found = FindModel(model);
    if (!found)
        ShowError(op, "Connect to a display first.");
    return found;
}

bool PrepareDownloadLink(TConnection& connection, TOperator& op) {
    std::string message;
    if (!EnsureSession(connection, message))
        return ShowError(op, message);
    if (!LcdWaitReady(connection, message, true)) {
        LcdCloseSession(connection);
        return ShowError(op, kDownloadNotFoundPrefix + message);
    }
    SwitchLinkSpeed(connection, kTransferBaudRate);
    return true;
}

bool StartDownloadQueue(TConnection& connection, TOperator& op, TTransferEngine& engine,
                        const TTransferEngine::TQueueStart& start, TProgressKind progress,
                        bool recheckLink) {
    op.BeginProgress("", 100, progress);
    op.actBtnDisableExecute();
    std::string message;
    if (recheckLink && !LcdWaitReady(connection, message, true)) {
        // The display went quiet at the transfer speed: put everything back.
        RestoreLink(connection);
        op.EndProgress();
        op.actBtnEnableExecute();
        return ShowError(op, message);
    }
    engine.StartQueue(start);
    return true;
}

} // namespace tavisto
