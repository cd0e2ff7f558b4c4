#include "app/storage/DownloadLink.h"

#include "protocol/LinkControl.h"
#include "protocol/Session.h"

namespace tavisto {

bool ReadyForQueue(TOperator& op, const DisplayModel* model, TTransferRunner& runner) {
    if (runner.engine().Running())
        return ShowError(op, "A download is already running.");
    if (!model)
        return ShowError(op, "Connect to a display first.");
    return true;
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
