#pragma once

#include "link/Connection.h"

#include <cstdint>
#include <string>

namespace tavisto {

// The three screen areas of the colour commands.
enum class TArea { Header, Main, Footer };

// The display-command form of the character-set and code-page selection.
inline constexpr int kDisplayCommandForm = 1;

// ---- One-shot commands: open OneShotPort, write one frame, close. ----------
bool VfdRestartDisplay(TConnection& c, std::string& message);
bool VfdFactoryReset(TConnection& c, std::string& message);
bool VfdSendRaw(TConnection& c, const Bytes& bytes, std::string& message);
bool VfdSendText(TConnection& c, const Bytes& text, std::string& message);
bool VfdSendTextAt(TConnection& c, int column, int row, const Bytes& text, std::string& message);
bool VfdClearDisplay(TConnection& c, int unused, std::string& message);
bool VfdSetBrightness(TConnection& c, int step, std::string& message);
bool VfdSelectCodePage(TConnection& c, int codePageNo, int mode, std::string& message);
bool VfdSelectInterChar(TConnection& c, int interCharNo, int mode, std::string& message);

// ---- Session commands with a reply check. -----------------------------------
// Colours are 0x00BBGGRR; they travel as R, G, B.
bool LcdSetTextColor(TConnection& c, TArea area, std::uint32_t color, std::string& message);
bool LcdSetBackgroundColor(TConnection& c, TArea area, std::uint32_t color, std::string& message);
bool LcdSetHeaderMode(TConnection& c, int tpMode, std::string& message);
bool LcdSetMainTextLines(TConnection& c, int lineMode, std::string& message);

// ---- Session commands without a reply. ---------------------------------------
// Needs an open session and leaves it open.
bool LcdSetLinkBaudRate(TConnection& c, int baudRate, std::string& message);
bool LcdShowPicture(TConnection& c, int picture, std::string& message);
bool LcdSetMainText(TConnection& c, const Bytes& text, std::string& message);
bool LcdSetPictureSelection(TConnection& c, std::uint16_t picReg, std::string& message);
bool LcdSetStandbyTime(TConnection& c, int seconds, std::string& message);
bool LcdSetPlayInterval(TConnection& c, int seconds, std::string& message);
bool LcdShowQrCode(TConnection& c, int align, const Bytes& text, std::string& message);
bool LcdShowQrCodeAt(TConnection& c, int align, int picture, const Bytes& text,
                     std::string& message);
bool LcdFormatStorage(TConnection& c, std::string& message);
bool LcdSetCommandMode(TConnection& c, int index, std::string& message);
bool LcdSetBaudRate(TConnection& c, int baudRateCode, std::string& message);
bool LcdSetWelcomeLine1(TConnection& c, const Bytes& text, std::string& message);
bool LcdSetWelcomeLine2(TConnection& c, const Bytes& text, std::string& message);
bool LcdSetLine2Scroll(TConnection& c, int flags, std::string& message);

} // namespace tavisto
