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

} // namespace tavisto
