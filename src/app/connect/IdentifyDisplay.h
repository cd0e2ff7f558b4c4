#pragma once

#include "app/Operator.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tavisto {

// The version answer comes after a fixed pause; a busy machine can miss it, and asking
// again changes nothing on the display.
inline constexpr int kVersionAttempts = 3;

// How a display is to be found on the connection's port (CurrentPortName).
struct TIdentifyRequest {
    // Open the port once at the first speed before anything is sent, so that a port
    // that does not open is told apart from a display that does not answer.
    bool checkOpen = true;
    // The speed to probe at (the display waited for, then asked for its model); 0 scans
    // the five speeds, and a display a killed transfer left at 115200 is set back to
    // its own speed.
    int baudRate = 0;
    // How often the firmware version is asked for, of the models that report one,
    // until it is read; 0 leaves it unread.
    int versionAttempts = kVersionAttempts;
    // Told each speed of a scan before it is tried.
    std::function<void(int baudRate)> onAttempt;
};

enum class TIdentifyFailure {
    None,
    PortNotOpened, // openCode says why
    NoAnswer,      // cause is the last attempt's message
    UnknownModel,  // a probe was answered by no model this program knows; cause says so
};

struct TDisplayIdentity {
    bool found() const { return failure == TIdentifyFailure::None; }

    TIdentifyFailure failure = TIdentifyFailure::None;
    std::string port;
    int answeredAt = 0; // the speed that answered (or the last one tried)
    int baudRate = 0;   // the speed the display talks at now, after any recovery
    const DisplayModel* model = nullptr;
    std::optional<std::uint32_t> firmwareVersion;
    std::string versionCause;     // why the version was not read, when it was asked for
    int openCode = link::kOpenOk; // unless the port did not open
    std::string cause;            // why no display was found
};

// Finds and identifies the display on the connection's port: opens it, scans or
// probes, sets a display left at the transfer speed back to its own (its log line goes
// to `notes`), and reads the firmware version. Leaves CurrentBaudRate at the speed the
// display talks at, or the last speed tried.
TDisplayIdentity IdentifyDisplay(TConnection& connection, TOperator& notes,
                                 const TIdentifyRequest& request);

// Asks the display for its firmware version up to `attempts` times, until it is read,
// and puts the version, or why it is missing, into `identity`.
void ReadFirmwareVersion(TConnection& connection, int attempts, TDisplayIdentity& identity);

// Opens the connection's port at `baudRate` and closes it again: link::kOpenOk, or the
// open error's code.
int CheckPortOpens(TConnection& connection, int baudRate);

} // namespace tavisto
