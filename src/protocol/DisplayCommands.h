#pragma once

#include "link/Connection.h"
#include "protocol/DisplayFrames.h"

#include <cstdint>
#include <string>

namespace tavisto {

// Every command builds its frame (DisplayFrames.h) and sends it with a
// FrameExecutor step. Every command returns true on success with "OK" in `message`, or false with
// the operator text of the failure (the port-open error, a write error, or the command's own reply
// error). Text parameters are bytes already converted to the display's code page; a terminated text
// is sent up to its first 00 byte.

// ---- One-shot commands: open OneShotPort, write one frame, close. ----------
// Not traced, no reply. Texts are cut to their first 40 bytes; the brightness
// step is kept to 1..4.
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
// Each opens the session when needed and closes it at the end. The colour and
// header-mode commands wait for the display's echo (500 ms, then every 100 ms up
// to 1728 ms); the main-text-lines command reads once after 500 ms.
// Colours are 0x00BBGGRR; they travel as R, G, B.
bool LcdSetTextColor(TConnection& c, TArea area, std::uint32_t color, std::string& message);
bool LcdSetBackgroundColor(TConnection& c, TArea area, std::uint32_t color, std::string& message);
bool LcdSetHeaderMode(TConnection& c, int tpMode, std::string& message);
bool LcdSetMainTextLines(TConnection& c, int lineMode, std::string& message);

// ---- Session commands without a reply. ---------------------------------------
// Each opens the session when needed and closes it after the write, except:
// LcdSetLinkBaudRate needs an open session ("Serial Port Not Opened!") and leaves it open.
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

// Result codes of LcdSendQrImage (the file checks, 21 missing file and 19
// unreadable picture, belong to the caller that converts the picture).
inline constexpr int kQrNoSession = 13;
inline constexpr int kQrHeaderFailed = 16;
inline constexpr int kQrPieceFailed = 17; // a piece of the picture data was not written
inline constexpr int kQrEndFailed = 18;

// Sends a 192 x 192 monochrome QR picture on the open session, which it leaves
// open: 02 07 19 align third, the data in 256-byte pieces, 02 07 19 00, with the
// 100 ms pauses between the steps and 1000 ms at the end. Returns 0 or a code above;
// after a failed piece the rest is still sent and the result is kQrPieceFailed.
// `message` gets the serial layer's text of the write that failed, or "OK".
int LcdSendQrImage(TConnection& c, const Bytes& imageData, int align, int third,
                   std::string& message);
int LcdSendQrImage(TConnection& c, const Bytes& imageData, int align, int third);

} // namespace tavisto
