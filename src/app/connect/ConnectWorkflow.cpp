#include "app/connect/ConnectWorkflow.h"

#include "app/connect/IdentifyDisplay.h"
#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"

#include <charconv>

namespace tavisto {

int RunConnect(TConnection& connection, TOperator& op, TConnectView& view) {
    // A new scan may find another model: start from the smallest set of controls.
    view.SetGuestSlotVisible(false);
    view.SetPictureNumberVisible(false);
    view.SetFirmwareTabVisible(false);

    // The version is read after the greeting, once: a missed answer shows as V0.
    TIdentifyRequest request;
    request.checkOpen = false;
    request.versionAttempts = 0;
    request.onAttempt = [&view](int baudRate) {
        view.SelectBaudRate(baudRate);
    };
    TDisplayIdentity found = IdentifyDisplay(connection, op, request);
    if (!found.found()) {
        op.ShowMsgBox(found.cause, kMbIconError);
        return -1;
    }
    const DisplayModel* model = found.model;
    if (found.baudRate != found.answeredAt)
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
        ReadFirmwareVersion(connection, 1, found);
        const std::uint32_t version = found.firmwareVersion.value_or(0);
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
