#include "app/connect/IdentifyDisplay.h"

#include "app/connect/LinkRecovery.h"
#include "protocol/Discovery.h"
#include "protocol/Session.h"

namespace tavisto {

namespace {

void scan(TConnection& connection, TOperator& notes, const TIdentifyRequest& request,
          TDisplayIdentity& identity) {
    const ScanResult found = ScanForDisplay(connection, request.onAttempt);
    identity.answeredAt = found.baudRate;
    identity.baudRate = found.baudRate;
    identity.model = FindModel(found.model);
    if (!identity.model) {
        identity.failure = TIdentifyFailure::NoAnswer;
        identity.cause = found.message;
        return;
    }
    identity.baudRate = RecoverStoredLinkSpeed(connection, notes, found.baudRate);
}

void probe(TConnection& connection, const TIdentifyRequest& request, TDisplayIdentity& identity) {
    connection.CurrentBaudRate = request.baudRate;
    identity.answeredAt = request.baudRate;
    identity.baudRate = request.baudRate;
    // Wait for the display as the scan would, then ask which model it is.
    std::string message;
    if (!LcdWaitReady(connection, message)) {
        identity.failure = TIdentifyFailure::NoAnswer;
        identity.cause = message;
        return;
    }
    identity.model = FindModel(LcdIdentifyModel(connection, message));
    if (!identity.model) {
        identity.failure = TIdentifyFailure::UnknownModel;
        identity.cause = message;
    }
}

} // namespace

void ReadFirmwareVersion(TConnection& connection, int attempts, TDisplayIdentity& identity) {
    std::string message;
    std::uint32_t version = 0;
    for (int attempt = 0; attempt < attempts && message != "OK"; ++attempt)
        version = LcdReadVersion(connection, message);
    if (message == "OK")
        identity.firmwareVersion = version;
    else
        identity.versionCause = message;
}

int CheckPortOpens(TConnection& connection, int baudRate) {
    link::PortHandle port;
    return OpenPort(connection, port, connection.CurrentPortName, baudRate);
}

TDisplayIdentity IdentifyDisplay(TConnection& connection, TOperator& notes,
                                 const TIdentifyRequest& request) {
    TDisplayIdentity identity;
    identity.port = connection.CurrentPortName;
    if (request.checkOpen) {
        const int firstSpeed = request.baudRate ? request.baudRate : kScanBaudRates.front();
        identity.openCode = CheckPortOpens(connection, firstSpeed);
        if (identity.openCode != link::kOpenOk) {
            identity.failure = TIdentifyFailure::PortNotOpened;
            identity.cause = OpenCodeMessage(identity.openCode, connection.SystemLangId);
            return identity;
        }
    }
    if (request.baudRate)
        probe(connection, request, identity);
    else
        scan(connection, notes, request, identity);
    if (identity.found() && request.versionAttempts > 0 && ModelHasFirmwareCheck(identity.model))
        ReadFirmwareVersion(connection, request.versionAttempts, identity);
    return identity;
}

} // namespace tavisto
