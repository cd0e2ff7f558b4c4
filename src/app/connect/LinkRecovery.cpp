#include "app/connect/LinkRecovery.h"

#include "app/transfer/TransferEngine.h"
#include "protocol/LinkControl.h"
#include "protocol/Session.h"
#include "settings/SettingsText.h"
#include "settings/Vocabulary.h"

#include <charconv>

namespace tavisto {

namespace {

// The speed the display's settings store, or 0 when they cannot be read.
int StoredBaudRate(TConnection& connection) {
    std::string message;
    std::string configuration;
    LcdGetConfiguration(connection, message, configuration);
    // A reply without the speed member leaves the marker: nothing is known then.
    constexpr std::uint8_t kNotReported = 0xFF;
    TDisplayInfo info;
    info.Baud_Rate = kNotReported;
    if (configuration.empty() || !ReadSettingsText(configuration, info, message) ||
        info.Baud_Rate == kNotReported)
        return 0;
    for (const TBaudRates& row : SetBaudRates) {
        if (row.BaudRateNo != info.Baud_Rate)
            continue;
        int rate = 0;
        const auto name = row.BaudRateName;
        std::from_chars(name.data(), name.data() + name.size(), rate);
        return rate;
    }
    return 0;
}

} // namespace

std::string LinkRecoveredText(int storedBaudRate) {
    return "The display was still at 115200 baud from a transfer that did not finish; it is set "
           "back to its own speed, " +
           std::to_string(storedBaudRate) + " baud.";
}

int RecoverStoredLinkSpeed(TConnection& connection, TOperator& op, int foundBaudRate) {
    if (foundBaudRate != kTransferBaudRate)
        return foundBaudRate;
    const int stored = StoredBaudRate(connection);
    if (stored == 0 || stored == kTransferBaudRate)
        return foundBaudRate;
    // The scan left the connection at the speed that answered: the session opens there,
    // and the link goes back to the stored speed as at the end of a transfer.
    std::string message;
    if (!EnsureSession(connection, message))
        return foundBaudRate;
    connection.CurrentBaudRate = stored;
    RestoreLink(connection);
    op.ShowLogOnRichEdit(LinkRecoveredText(stored), false);
    return stored;
}

} // namespace tavisto
