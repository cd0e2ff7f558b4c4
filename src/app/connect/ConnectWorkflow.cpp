#include "app/connect/ConnectWorkflow.h"

#include "app/connect/LinkRecovery.h"
#include "protocol/Discovery.h"
#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"

#include <charconv>

namespace tavisto {

int RunConnect(TConnection& connection, TOperator& op, TConnectView& view) {
    // A new scan may find another model: start from the smallest set of controls.
    view.SetGuestSlotVisible(false);
    view.SetPictureNumberVisible(false);
    view.SetFirmwareTabVisible(false);

    const ScanResult found =
        ScanForDisplay(connection, [&view](int baudRate) { view.SelectBaudRate(baudRate); });
    const DisplayModel* model = FindModel(found.model);
    if (!model) {
        op.ShowMsgBox(found.message, kMbIconError);
        return -1;
    }

    if (RecoverStoredLinkSpeed(connection, op, found.baudRate) != found.baudRate)
        view.SelectBaudRate(connection.CurrentBaudRate);
    const std::string modelName(model->name);
    view.SelectModel(model->index);
    op.actBtnEnableExecute();
    if (ModelHasFirmwareCheck(model))
        view.SetGuestSlotVisible(true);
    if (ModelHasQrCodeAt(model))
        view.SetPictureNumberVisible(true);

    std::string message;
    VfdClearDisplay(connection, 0, message);
    op.ShowMsgBox("Connected to " + modelName + "!", kMbIconInformation);
    view.SetFirmwareTabVisible(false);

    if (ModelHasFirmwareCheck(model)) {
        const unsigned version = LcdReadVersion(connection, message);
        view.ShowFirmwareInfo(modelName, std::string("V").append(std::to_string(version)));
        if (version < kLatestFirmwareVersion) {
            view.SetFirmwareTabVisible(true);
            op.ShowMsgBox(kFirmwareOutdatedWarning, kMbIconWarning);
        }
    }
    return model->index;
}

int BaudRateOfText(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return 0;
    const auto last = text.find_last_not_of(" \t");
    int value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return 0;
    return value;
}

} // namespace tavisto
