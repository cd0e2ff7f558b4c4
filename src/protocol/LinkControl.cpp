#include "protocol/LinkControl.h"

#include "protocol/DisplayCommands.h"

namespace tavisto {

bool EnsureSession(TConnection& connection, std::string& message) {
    if (connection.SessionPort)
        return true;
    return LcdOpenSession(connection, connection.CurrentPortName, connection.CurrentBaudRate,
                          message) == 1;
}

void SwitchLinkSpeed(TConnection& connection, int baudRate, const TLinkPauses& pauses) {
    std::string ignored;
    LcdSetLinkBaudRate(connection, baudRate, ignored);
    connection.clock().sleep(pauses.afterCommand);
    if (!pauses.afterPort)
        return;
    SetPortBaudRate(connection.SessionPort, baudRate);
    connection.clock().sleep(*pauses.afterPort);
}

void RestoreLink(TConnection& connection, const TLinkPauses& pauses) {
    SwitchLinkSpeed(connection, connection.CurrentBaudRate, pauses);
    LcdCloseSession(connection);
}

} // namespace tavisto
