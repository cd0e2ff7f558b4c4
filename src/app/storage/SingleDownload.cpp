#include "app/storage/SingleDownload.h"

#include "app/settings/SettingCommands.h"
#include "app/storage/DownloadFile.h"
#include "app/storage/ItemSize.h"
#include "protocol/DownloadTable.h"
#include "protocol/Hex.h"
#include "protocol/PictureSlots.h"

namespace tavisto {

std::string FirmwareFileQuestion(const std::string& fileName, std::size_t size,
                                 std::string_view modelName) {
    return "Send \"" + fileName + "\" (" + GroupedNumber(size) + " bytes) as the firmware of the " +
           std::string(modelName) +
           "? A firmware image not made for this display can stop it from working.";
}

std::string SlotWithoutPictureText(int position) {
    return std::string(DownFileAt(position).Name) +
           " shows its built-in default picture, which is never sent. Load a picture into "
           "its slot with \"+\" on the Picture Management tab first.";
}

namespace {

// Switches the link and sends the row at `position` alone, from `chosen` (the file's
// contents) or, for a picture slot, from the slot.
bool sendAlone(TConnection& connection, TOperator& op, const DisplayModel* model,
               TTransferEngine& engine, int position, const Bytes& chosen) {
    if (!PrepareDownloadLink(connection, op))
        return false;
    engine.SetDownListNull();
    engine.Mark(position);
    TTransferEngine::TQueueStart start;
    start.model = model;
    start.fromResources = false;
    start.chosenData = chosen;
    start.firstPosition = position;
    return StartDownloadQueue(connection, op, engine, start, TProgressKind::ClearLog);
}

// A picture-slot row sends the slot's current picture, which the engine takes from the
// slot, never a file. A slot showing its default picture has nothing to send: the
// default pictures stay in this program.
bool downloadSlot(TConnection& connection, TOperator& op, const DisplayModel* model,
                  TTransferEngine& engine, int position, int slot) {
    const TJobSources& sources = engine.Sources();
    if (!sources.slotPicture || sources.slotPicture(slot).empty())
        return ShowError(op, SlotWithoutPictureText(position));
    return sendAlone(connection, op, model, engine, position, {});
}

// The single-item download; `contents` is the file already read, or nullptr to read
// it here once the position and the model are checked.
bool downloadSingle(TConnection& connection, TOperator& op, const DisplayModel* model,
                    TTransferRunner& runner, int position, const std::string& fileName,
                    const Bytes* contents) {
    TTransferEngine& engine = runner.engine();
    if (!ReadyForQueue(op, model, runner))
        return false;
    if (position < 1 || position > kDownFileCount)
        return ShowError(op, "No item " + std::to_string(position) + " in the download list.");
    if (const int slot = PictureSlotOfPosition(position); slot != 0)
        return downloadSlot(connection, op, model, engine, position, slot);
    Bytes read;
    if (!contents) {
        std::string message;
        if (!ReadDownloadFile(fileName, read, message))
            return ShowError(op, message);
        contents = &read;
    }
    const std::size_t size = contents->size();
    // On the addressed models a file larger than its item's room would overwrite the
    // items stored after it.
    if (model->isAddressed()) {
        const std::string problem = AddressedRoomProblem(position, size);
        if (!problem.empty())
            return ShowError(op, problem);
    }
    // A display given a firmware image not made for it may stop working: the operator
    // confirms the file, its size and the model before anything is sent.
    if (position == kFirmwarePosition &&
        op.ShowMsgBox(FirmwareFileQuestion(fileName, size, model->name), kMbYesNoQuestion) !=
            kIdYes)
        return false;
    // A file of another size than the item holds on this model is most likely not that
    // item (a font of the other resolution, another file altogether): the operator
    // confirms it before it replaces what the display has.
    if (const auto expected = ExpectedItemSize(position, *model);
        expected && *expected != size &&
        op.ShowMsgBox(OddSizeQuestion(position, *model, *expected, fileName, size),
                      kMbYesNoQuestion) != kIdYes)
        return false;

    return sendAlone(connection, op, model, engine, position, *contents);
}

} // namespace

bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op,
                                     const DisplayModel* model, TTransferRunner& runner,
                                     int position, const std::string& fileName) {
    return downloadSingle(connection, op, model, runner, position, fileName, nullptr);
}

bool btn_CharacterSetDownSingleClick(TConnection& connection, TOperator& op,
                                     const DisplayModel* model, TTransferRunner& runner,
                                     int position, const std::string& fileName,
                                     const Bytes& contents) {
    return downloadSingle(connection, op, model, runner, position, fileName, &contents);
}

} // namespace tavisto
