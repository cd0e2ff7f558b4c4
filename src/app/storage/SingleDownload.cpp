#include "app/storage/SingleDownload.h"

#include "app/settings/SettingCommands.h"
#include "pictures/ByteFiles.h"
#include "pictures/PictureError.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"

namespace tavisto {

namespace {

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

bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op,
                                     const DisplayModel* model, TTransferRunner& runner,
                                     int position, const std::string& fileName) {
    TTransferEngine& engine = runner.engine();
    if (!ReadyForQueue(op, model, runner))
        return false;
    if (position < 1 || position > kDownFileCount)
        return ShowError(op, "No item " + std::to_string(position) + " in the download list.");
    if (PictureSlotOfPosition(position) != 0)
        return ShowError(op, std::string(DownFileAt(position).Name) +
                                 " is a picture slot: its picture is sent from the slot, not "
                                 "from a file.");
    std::size_t size = 0;
    try {
        size = FileToBytes(fileName).size();
        if (size == 0)
            return ShowError(op, "\"" + fileName + "\" is empty: there is nothing to send.");
    } catch (const FileError& error) {
        return ShowError(op, error.what());
    }
    // A display given a firmware image not made for it may stop working: the operator
    // confirms the file, its size and the model before anything is sent.
    if (position == kFirmwarePosition &&
        op.ShowMsgBox(FirmwareFileQuestion(fileName, size, model->name), MB_YESNO_QUESTION) !=
            IDYES)
        return false;

    if (!PrepareDownloadLink(connection, op))
        return false;
    engine.SetDownListNull();
    engine.Mark(position);
    TTransferEngine::TQueueStart start;
    start.model = model;
    start.fromResources = false;
    start.chosenFile = fileName;
    start.firstPosition = position;
    return StartDownloadQueue(connection, op, engine, start, TProgressKind::ClearLog);
}

} // namespace tavisto
