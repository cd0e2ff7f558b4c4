#include "app/transfer/SingleDownload.h"

#include "app/DownFiles.h"
#include "app/PictureSlots.h"
#include "app/SettingCommands.h"
#include "pictures/ByteFiles.h"
#include "pictures/PictureError.h"
#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"

namespace tavisto {

namespace {

bool refuse(TOperator& op, const std::string& text) {
    op.ShowMsgBox(text, MB_ICONERROR);
    return false;
}

} // namespace

bool PrepareDownloadLink(TConnection& connection, TOperator& op) {
    std::string message;
    if (!connection.SessionPort && LcdOpenSession(connection, connection.CurrentPortName,
                                                  connection.CurrentBaudRate, message) != 1)
        return refuse(op, message);
    if (!LcdWaitReady(connection, message, true)) {
        LcdCloseSession(connection);
        return refuse(op, kDownloadNotFoundPrefix + message);
    }
    SwitchLinkSpeed(connection, kTransferBaudRate);
    return true;
}

bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op, int model,
                                     TTransferRunner& runner, int position,
                                     const std::string& fileName) {
    TTransferEngine& engine = runner.engine();
    if (engine.Running())
        return refuse(op, "A download is already running.");
    if (position < 1 || position > kDownFileCount)
        return refuse(op, "No item " + std::to_string(position) + " in the download list.");
    if (!FindModel(model))
        return refuse(op, "Connect to a display first.");
    if (PictureSlotOfPosition(position) != 0)
        return refuse(op, std::string(DownFileAt(position).Name) +
                              " is a picture slot: its picture is sent from the slot, not "
                              "from a file.");
    try {
        if (FileToBytes(fileName).empty())
            return refuse(op, "\"" + fileName + "\" is empty: there is nothing to send.");
    } catch (const FileError& error) {
        return refuse(op, error.what());
    }

    if (!PrepareDownloadLink(connection, op))
        return false;
    engine.SetDownListNull();
    engine.Mark(position);
    op.BeginProgress("", 100, TProgressKind::ClearLog);
    op.actBtnDisableExecute();
    TTransferEngine::TQueueStart start;
    start.model = model;
    start.fromResources = false;
    start.chosenFile = fileName;
    start.firstPosition = position;
    engine.StartQueue(start);
    return true;
}

} // namespace tavisto
