#pragma once

#include "link/Bytes.h"

#include <cstdint>

namespace tavisto {

// The frames of the display commands as pure functions: parameters in, the bytes
// on the wire out. The commands of DisplayCommands.h build their frame here and
// hand it to a CommandExecutor step.

// The three screen areas of the colour commands.
enum class TArea { Header, Main, Footer };

// The display-command form of the character-set and code-page selection.
inline constexpr int kDisplayCommandForm = 1;

// ---- One-shot frames. --------------------------------------------------------
// Texts are cut to their first 40 bytes; the brightness step is kept to 1..4.
Bytes RestartDisplayFrame();
Bytes FactoryResetFrame();
Bytes TextFrame(const Bytes& text);
// 1F 24 column row text.
Bytes TextAtFrame(int column, int row, const Bytes& text);
Bytes ClearDisplayFrame();
Bytes BrightnessFrame(int step);
// 02 06 n in the display-command form, 1B 74 n otherwise.
Bytes CodePageFrame(int codePageNo, int mode);
// 02 05 n in the display-command form, 1B 52 n otherwise.
Bytes InterCharFrame(int interCharNo, int mode);

// ---- Session frames. ---------------------------------------------------------
// Colours are 0x00BBGGRR; they travel as R, G, B. A terminated text is sent up to
// its first 00 byte, followed by one 00.
Bytes TextColorFrame(TArea area, std::uint32_t color);
Bytes BackgroundColorFrame(TArea area, std::uint32_t color);
Bytes HeaderModeFrame(int tpMode);
Bytes MainTextLinesFrame(int lineMode);
// 02 07 04 and the rate as four bytes, high byte first.
Bytes LinkBaudRateFrame(int baudRate);
Bytes ShowPictureFrame(int picture);
Bytes MainTextFrame(const Bytes& text);
Bytes PictureSelectionFrame(std::uint16_t picReg);
Bytes StandbyTimeFrame(int seconds);
Bytes PlayIntervalFrame(int seconds);
Bytes QrCodeFrame(int align, const Bytes& text);
Bytes QrCodeAtFrame(int align, int picture, const Bytes& text);
Bytes FormatStorageFrame();
// 02 43 and the index in decimal digits.
Bytes CommandModeFrame(int index);
// 02 42 and the rate code in decimal digits.
Bytes BaudRateFrame(int baudRateCode);
Bytes WelcomeLine1Frame(const Bytes& text);
Bytes WelcomeLine2Frame(const Bytes& text);
Bytes Line2ScrollFrame(int flags);

// The frames around the data of a QR picture: 02 07 19 align third, and 02 07 19 00.
Bytes QrImageHeaderFrame(int align, int third);
Bytes QrImageEndFrame();

// The queries of the session: model name, firmware version, settings text.
Bytes ModelQueryFrame();
Bytes VersionQueryFrame();
Bytes ConfigurationQueryFrame();

} // namespace tavisto
