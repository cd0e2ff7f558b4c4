#pragma once

#include "link/Bytes.h"
#include "link/Clock.h"
#include "link/SerialPort.h"
#include "link/Trace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavisto {

inline constexpr std::uint16_t kLangChinese = 2052;
inline constexpr std::uint16_t kLangEnglish = 1033;

// The connection state that the window (or the CLI) owns and hands to every
// display command: port name, line speed, language of the port messages, the
// two port handles, the trace, the clock and the way ports are opened.
class TConnection {
public:
    explicit TConnection(link::PortOpener& opener, Clock& clock = systemClock());
    TConnection(); // real serial ports, real time

    std::string CurrentPortName;
    int CurrentBaudRate = 0;
    std::uint16_t SystemLangId = kLangEnglish;

    link::PortHandle OneShotPort; // one-shot (Vfd...) commands
    link::PortHandle SessionPort; // session (Lcd...) commands and transfer jobs

    Trace trace;

    Clock& clock() { return *clock_; }
    link::PortOpener& opener() { return *opener_; }

private:
    link::PortOpener* opener_;
    Clock* clock_;
};

// ---- Port operations -------------------------------------------------------

// Opens `name` into `handle`. Returns 0 when the handle is already open (nothing
// touched), 1 on success, 2 when the port is missing or in use, 3 when it cannot
// be set up as a serial line.
int OpenPort(TConnection& connection, link::PortHandle& handle, const std::string& name,
             int baudRate);

// The operator text of an open result code, English or Chinese by language id.
std::string OpenCodeText(int code, std::uint16_t langId);
// The message handed to callers: a space, the text and "!".
std::string OpenCodeMessage(int code, std::uint16_t langId);

// Returns 1 opened, 2 empty name, 3 open failed; the message says why.
int OpenOneShotPort(TConnection& connection, const std::string& name, int baudRate,
                    std::string& message);
void CloseOneShotPort(TConnection& connection);
int LcdOpenSession(TConnection& connection, const std::string& name, int baudRate,
                   std::string& message);
void LcdCloseSession(TConnection& connection);

// Changes the speed of an open port; an empty handle or a failure is ignored.
void SetPortBaudRate(link::PortHandle& handle, int baudRate);

// Writes the bytes (or the two byte strings in one write). An empty handle fails.
bool WritePort(link::PortHandle& handle, const Bytes& data, std::string& message);
bool WritePort(link::PortHandle& handle, const Bytes& first, const Bytes& second,
               std::string& message);

// Returns at once with what has arrived (at most 4096 bytes) or fails with
// "Failed to read data".
bool ReadPort(link::PortHandle& handle, Bytes& data, std::string& message);

// Lists the machine's serial devices (Linux: from sysfs; Windows: the SERIALCOMM
// registry key), sorted case-insensitively. On failure the list is left as it was
// and the message reads "Error opening registry key for serial port list".
bool EnumPorts(std::vector<std::string>& list, std::string& message);
// The same on another folder laid out as /sys/class/tty (one entry per tty); Linux.
bool EnumPortsIn(const std::string& ttyClassFolder, std::vector<std::string>& list,
                 std::string& message);
// Case-insensitive text order, so /dev/ttyS10 comes before /dev/ttyS2.
void SortPortNames(std::vector<std::string>& names);
// The end of a successful listing: `found` sorted into `list`, "OK"; true.
bool ListSortedPorts(std::vector<std::string> found, std::vector<std::string>& list,
                     std::string& message);

// 2052 when the system speaks Chinese (PRC), 1033 otherwise. Linux: the user's locale
// (zh_CN); Windows: the system's default language.
std::uint16_t SystemDefaultLangId();

} // namespace tavisto
