#include "app/storage/SingleDownload.h"

#include "app/settings/SettingCommands.h"
#include "app/storage/DownloadFile.h"
#include "protocol/DisplayCommands.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "protocol/Session.h"

namespace tavisto {

namespace {

bool refuse(TOperator& op, const std::string& text) {
    op.ShowMsgBox(text, MB_ICONERROR);
    return false;
}

// "1,234,567"
std::string groupedDigits(std::size_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

} // namespace

std::string FirmwareFileQuestion(const std::string& fileName, std::size_t size,
                                 std::string_view modelName) {
    return "Send \"" + fileName + "\" (" + groupedDigits(size) + " bytes) as the firmware of the " +
           std::string(modelName) +
           "? A firmware image not made for this display can stop it from working.";
}

const DisplayModel* ReadyForQueue(TOperator& op, int model, TTransferRunner& runner) {
    if (runner.engine().Running()) {
        refuse(op, "A download is already running.");
        return nullptr;
    }
    const DisplayModel* found = FindModel(model);
    if (!found)
        refuse(op, "Connect to a display first.");
    return found;
}

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

namespace {

// The single-item download; `contents` is the file already read, or nullptr to read
// it here once the position and the model are checked.
bool downloadSingle(TConnection& connection, TOperator& op, int model, TTransferRunner& runner,
                    int position, const std::string& fileName, const Bytes* contents) {
    TTransferEngine& engine = runner.engine();
    const DisplayModel* found = ReadyForQueue(op, model, runner);
    if (!found)
        return false;
    if (position < 1 || position > kDownFileCount)
        return refuse(op, "No item " + std::to_string(position) + " in the download list.");
    if (PictureSlotOfPosition(position) != 0)
        return refuse(op, std::string(DownFileAt(position).Name) +
                              " is a picture slot: its picture is sent from the slot, not "
                              "from a file.");
    Bytes read;
    if (!contents) {
        std::string message;
        if (!ReadDownloadFile(fileName, read, message))
            return refuse(op, message);
        contents = &read;
    }
    const std::size_t size = contents->size();
    // A display given a firmware image not made for it may stop working: the operator
    // confirms the file, its size and the model before anything is sent.
    if (position == kFirmwarePosition &&
        op.ShowMsgBox(FirmwareFileQuestion(fileName, size, found->name), MB_YESNO_QUESTION) !=
            IDYES)
        return false;

    if (!PrepareDownloadLink(connection, op))
        return false;
    engine.SetDownListNull();
    engine.Mark(position);
    op.BeginProgress("", 100, TProgressKind::ClearLog);
    op.actBtnDisableExecute();
    TTransferEngine::TQueueStart start;
    start.model = model;
    start.fromResources = false;
    start.chosenData = *contents;
    start.firstPosition = position;
    engine.StartQueue(start);
    return true;
}

} // namespace

bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op, int model,
                                     TTransferRunner& runner, int position,
                                     const std::string& fileName) {
    return downloadSingle(connection, op, model, runner, position, fileName, nullptr);
}

bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op, int model,
                                     TTransferRunner& runner, int position,
                                     const std::string& fileName, const Bytes& contents) {
    return downloadSingle(connection, op, model, runner, position, fileName, &contents);
}

} // namespace tavisto
