#include "protocol/DisplayCommands.h"
#include "protocol/DisplayFrames.h"
#include "protocol/FrameExecutor.h"

namespace tavisto {

bool VfdRestartDisplay(TConnection& c, std::string& message) {
    return SendOneShotFrame(c, RestartDisplayFrame(), message);
}

bool VfdFactoryReset(TConnection& c, std::string& message) {
    return SendOneShotFrame(c, FactoryResetFrame(), message);
}

bool VfdSendRaw(TConnection& c, const Bytes& bytes, std::string& message) {
    return SendOneShotFrame(c, bytes, message);
}

bool VfdSendText(TConnection& c, const Bytes& text, std::string& message) {
    return SendOneShotFrame(c, TextFrame(text), message);
}

bool VfdSendTextAt(TConnection& c, int column, int row, const Bytes& text, std::string& message) {
    return SendOneShotFrame(c, TextAtFrame(column, row, text), message);
}

bool VfdClearDisplay(TConnection& c, int /*unused*/, std::string& message) {
    return SendOneShotFrame(c, ClearDisplayFrame(), message);
}

bool VfdSetBrightness(TConnection& c, int step, std::string& message) {
    return SendOneShotFrame(c, BrightnessFrame(step), message);
}

bool VfdSelectCodePage(TConnection& c, int codePageNo, int mode, std::string& message) {
    return SendOneShotFrame(c, CodePageFrame(codePageNo, mode), message);
}

bool VfdSelectInterChar(TConnection& c, int interCharNo, int mode, std::string& message) {
    return SendOneShotFrame(c, InterCharFrame(interCharNo, mode), message);
}

} // namespace tavisto
