#include "protocol/DisplayCommands.h"

#include <algorithm>

namespace tavisto {

namespace {

// The most text bytes one text command carries.
constexpr std::size_t kTextLimit = 40;

// Opens OneShotPort when it is closed, writes the frame and closes the port.
// One-shot frames are not traced.
bool sendOneShot(TConnection& c, const Bytes& frame, std::string& message) {
    if (!c.OneShotPort && OpenOneShotPort(c, c.CurrentPortName, c.CurrentBaudRate, message) != 1)
        return false;
    const bool written = WritePort(c.OneShotPort, frame, message);
    CloseOneShotPort(c);
    return written;
}

Bytes byte(int value) {
    return Bytes(1, static_cast<char>(value & 0xFF));
}

Bytes limitText(const Bytes& text) {
    return text.substr(0, kTextLimit);
}

} // namespace

bool VfdRestartDisplay(TConnection& c, std::string& message) {
    return sendOneShot(c, Bytes("\x02\x1D\xAA\x55", 4), message);
}

bool VfdFactoryReset(TConnection& c, std::string& message) {
    return sendOneShot(c, Bytes("\x02\x07\x15\x27\x27", 5), message);
}

bool VfdSendRaw(TConnection& c, const Bytes& bytes, std::string& message) {
    return sendOneShot(c, bytes, message);
}

bool VfdSendText(TConnection& c, const Bytes& text, std::string& message) {
    return sendOneShot(c, limitText(text), message);
}

bool VfdSendTextAt(TConnection& c, int column, int row, const Bytes& text, std::string& message) {
    return sendOneShot(c, Bytes("\x1F\x24", 2) + byte(column) + byte(row) + limitText(text),
                       message);
}

bool VfdClearDisplay(TConnection& c, int /*unused*/, std::string& message) {
    return sendOneShot(c, Bytes(1, '\x0C'), message);
}

bool VfdSetBrightness(TConnection& c, int step, std::string& message) {
    return sendOneShot(c, Bytes("\x1F\x58", 2) + byte(std::clamp(step, 1, 4)), message);
}

bool VfdSelectCodePage(TConnection& c, int codePageNo, int mode, std::string& message) {
    const Bytes prefix = mode == kDisplayCommandForm ? Bytes("\x02\x06", 2) : Bytes("\x1B\x74", 2);
    return sendOneShot(c, prefix + byte(codePageNo), message);
}

bool VfdSelectInterChar(TConnection& c, int interCharNo, int mode, std::string& message) {
    const Bytes prefix = mode == kDisplayCommandForm ? Bytes("\x02\x05", 2) : Bytes("\x1B\x52", 2);
    return sendOneShot(c, prefix + byte(interCharNo), message);
}

} // namespace tavisto
