#pragma once

#include "app/Operator.h"
#include "link/Connection.h"

#include <string>

namespace tavisto {

// The firmware version built into the program; displays reporting less are
// asked to update.
inline constexpr unsigned kLatestFirmwareVersion = 14;

inline constexpr const char* kFirmwareOutdatedWarning =
    "The current firmware version is lower than the latest version.\n\n"
    "Please update the firmware version.";

// What Connect changes on the window beyond the operator services, so that the
// workflow itself stays free of widgets.
class TConnectView {
public:
    virtual ~TConnectView() = default;

    // The fourteenth picture slot (preview, check box, "-" and "+").
    virtual void SetGuestSlotVisible(bool visible) = 0;
    // "Picture No:" with its number box, and "Show QrCode At".
    virtual void SetPictureNumberVisible(bool visible) = 0;
    virtual void SetFirmwareTabVisible(bool visible) = 0;
    // Shows the speed being tried in the connection baud-rate list.
    virtual void SelectBaudRate(int baudRate) = 0;
    virtual void SelectModel(int model) = 0;
    virtual void ShowFirmwareInfo(const std::string& deviceModel,
                                  const std::string& currentVersion) = 0;
};

// Connect: scans the five speeds for a display, and on success enables the
// window, shows the model's controls, clears the display, greets the operator
// and, for the models with updatable firmware, checks the version. Returns the
// model index found, or -1 (the last attempt's message has then been shown).
int RunConnect(TConnection& connection, TOperator& op, TConnectView& view);

// The integer value of a baud-rate text; a blank or non-numeric text counts as 0.
int BaudRateOfText(const std::string& text);

} // namespace tavisto
