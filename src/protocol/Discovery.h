#pragma once

#include "link/Connection.h"

#include <array>
#include <functional>
#include <string>

namespace tavisto {

// The five line speeds Connect tries, in order.
inline constexpr std::array<int, 5> kScanBaudRates = {9600, 19200, 38400, 57600, 115200};

struct ScanResult {
    int model = -1;      // 0..6, or -1 when no speed answered
    int baudRate = 0;    // the speed that answered, or the last one tried
    std::string message; // the last attempt's message when nothing answered
};

// Identifies the display at each speed in turn, 100 ms apart after each failed
// attempt, and stops at the first that answers. Leaves CurrentBaudRate at the
// speed found (or the last tried). `onAttempt` is told each speed before it is tried.
ScanResult ScanForDisplay(TConnection& connection,
                          const std::function<void(int baudRate)>& onAttempt = {});

// After a speed command, which has no answer: gives the display 300 ms to take the
// new speed and asks for its model there, three times. True when it answered, with
// CurrentBaudRate at `after`. Otherwise `message` says so and names the speed it
// still answers at, if `before`, where CurrentBaudRate is then left.
bool ConfirmNewLineSpeed(TConnection& connection, int before, int after, std::string& message);

} // namespace tavisto
