#include "app/storage/StorageWorkflows.h"

#include "app/storage/DownloadLink.h"
#include "app/transfer/JobSources.h"
#include "protocol/DisplayCommands.h"
#include "protocol/DownloadTable.h"
#include "protocol/LinkControl.h"
#include "protocol/Session.h"

namespace tavisto {

namespace {

// The queue of the rows marked, from the program's resources.
bool startFromResources(TConnection& connection, TOperator& op, const DisplayModel& model,
                        TTransferEngine& engine) {
    TTransferEngine::TQueueStart start;
    start.model = &model;
    start.fromResources = true;
    start.firstPosition = 1;
    return StartDownloadQueue(connection, op, engine, start, TProgressKind::ClearLog);
}

bool carriesFirmware(const TTransferEngine& engine, const DisplayModel& model) {
    const auto& resource = engine.Sources().resource;
    if (!resource)
        return false;
    const auto image = resource(FirmwareResourceName(model));
    return image && !image->empty();
}

} // namespace

std::string NoFirmwareImageText(const std::string& modelName) {
    return "This build of Tavisto carries no firmware image for " + modelName +
           ", so nothing was sent. To update from a firmware file, send it as the item "
           "\"firmware\" of the download list: on the Download File tab choose \"firmware\", "
           "\"Select File\" and \"Download\" (tavisto-cli: download firmware FILE).";
}

bool btn_CharacterSetDownAllClick(TConnection& connection, TOperator& op, const DisplayModel* model,
                                  TTransferRunner& runner) {
    if (!ReadyForQueue(op, model, runner))
        return false;
    if (!PrepareDownloadLink(connection, op))
        return false;
    TTransferEngine& engine = runner.engine();
    engine.SummaryText = kDownloadReportHeading;
    engine.SetDownListNull();
    for (int row = 1; row <= kLastFontPosition; ++row)
        engine.Mark(row);
    engine.Mark(kTablePosition);
    return startFromResources(connection, op, *model, engine);
}

bool btn_FormatClick(TConnection& connection, TOperator& op) {
    if (op.ShowMsgBox("Are you sure you want to format the storage?", kMbYesNoQuestion) != kIdYes)
        return false;
    std::string message;
    if (!LcdFormatStorage(connection, message))
        return ShowError(op, message);
    return true;
}

bool btn_updateClick(TConnection& connection, TOperator& op, const DisplayModel* model,
                     TTransferRunner& runner) {
    if (!ReadyForQueue(op, model, runner))
        return false;
    TTransferEngine& engine = runner.engine();
    // Without an image the queue would skip the firmware row and report success.
    if (!carriesFirmware(engine, *model))
        return ShowError(op, NoFirmwareImageText(std::string(model->name)));
    if (op.ShowMsgBox("Do you want to upgrade the firmware?", kMbYesNoQuestion) != kIdYes)
        return false;

    std::string message;
    if (model->isAddressed())
        VfdRestartDisplay(connection, message);
    if (!LcdWaitReady(connection, message))
        return ShowError(op, kDownloadNotFoundPrefix + message);
    engine.SetDownListNull();
    if (LcdReadVersion(connection, message) < kTableInFirmwareVersion)
        engine.Mark(kTablePosition);
    engine.Mark(kFirmwarePosition);
    if (!EnsureSession(connection, message))
        return ShowError(op, message);
    SwitchLinkSpeed(connection, kTransferBaudRate);
    // The update leaves the time-out box's heading as the last queue set it.
    return startFromResources(connection, op, *model, engine);
}

} // namespace tavisto
