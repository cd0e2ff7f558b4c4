#include "protocol/Discovery.h"

#include "protocol/Session.h"

namespace tavisto {

namespace {

constexpr Millis kRetryPause{100};

} // namespace

ScanResult ScanForDisplay(TConnection& connection,
                          const std::function<void(int baudRate)>& onAttempt) {
    ScanResult result;
    for (int baudRate : kScanBaudRates) {
        connection.CurrentBaudRate = baudRate;
        result.baudRate = baudRate;
        if (onAttempt)
            onAttempt(baudRate);
        result.model = LcdIdentifyModel(connection, result.message);
        if (result.model >= 0)
            return result;
        connection.clock().sleep(kRetryPause);
    }
    return result;
}

bool ConfirmNewLineSpeed(TConnection& connection, int before, int after, std::string& message) {
    constexpr Millis kSpeedSettle{300};
    connection.CurrentBaudRate = after;
    std::string reason;
    for (int attempt = 0; attempt < 3; ++attempt) {
        connection.clock().sleep(kSpeedSettle);
        if (LcdIdentifyModel(connection, reason) >= 0) {
            message = "OK";
            return true;
        }
    }
    message = "the display did not answer at " + std::to_string(after) +
              " baud after the change (" + reason + ")";
    connection.CurrentBaudRate = before;
    if (before != after && LcdIdentifyModel(connection, reason) >= 0)
        message += "; it still answers at " + std::to_string(before) + " baud";
    else
        connection.CurrentBaudRate = after;
    return false;
}

} // namespace tavisto
