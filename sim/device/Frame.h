#pragma once

#include "link/Bytes.h"

#include <string>

namespace tavisto::sim {

// What one complete piece of the byte stream means to the display.
enum class FrameType {
    // Customer-display control sequences.
    Text,         // a run of printable bytes, shown at the cursor
    Control,      // 08, 09, 0A, 0B (home), 0D
    ClearDisplay, // 0C
    CursorTo,     // 1F 24 x y
    Brightness,   // 1F 58 n
    EscCodePage,  // 1B 74 n
    EscInterChar, // 1B 52 n
    PosCommand,   // other ESC, US and CAN sequences of the emulated command sets
    // Vendor sequences.
    InterChar,        // 02 05 n
    CodePage,         // 02 06 n
    Restart,          // 02 1D AA 55
    CommandMode,      // 02 43 digits
    BaudCode,         // 02 42 digits
    TransferSetup,    // 02 10 address(4) length(4)
    LinkBaudRate,     // 02 07 04 b3 b2 b1 b0
    FormatStorage,    // 02 07 05 00
    MakeFile,         // 02 07 05 01 name,length,crc 0A
    HeaderMode,       // 02 07 09 | 02 07 0A
    TextColor,        // 02 07 0B|0E|10 R G B
    BackgroundColor,  // 02 07 0C|0F|11 R G B
    MainTextLines,    // 02 07 14 n
    FactoryReset,     // 02 07 15 27 27
    ModelQuery,       // 02 07 16 01
    VersionQuery,     // 02 07 16 02
    ConfigQuery,      // 02 07 16 05
    WelcomeLine1,     // 02 07 16 06 text 00
    WelcomeLine2,     // 02 07 16 07 text 00
    ScrollFlags,      // 02 07 16 09 n
    MainText,         // 02 07 18 text (ends when the line idles or at 80 bytes)
    QrImageStart,     // 02 07 19 a b
    QrImageEnd,       // 02 07 19 00
    ShowPicture,      // 02 07 1A n
    PlayInterval,     // 02 07 1B n
    StandbyTime,      // 02 07 1C n
    QrCode,           // 02 07 1D a b text 00
    QrCodeAt,         // 02 07 1E a p text 00
    DownloadStart,    // 02 07 27 27 27
    PictureSelection, // 02 07 28 hi lo
    FirmwareWakeUp,   // 07 07 07 07
    TransferFrame,    // "ACT=k,L=hhh," ... (only while a transfer expects it)
    RawData,          // bytes taken as data (file contents, QR picture)
    Rejected,         // malformed, unknown or incomplete
};

struct Frame {
    FrameType type = FrameType::Rejected;
    Bytes bytes;        // the frame as received (for raw data: empty, see text)
    Bytes text;         // the text, digit or data parameter, without terminator
    std::string reason; // why a frame was rejected
};

// A short name for logs.
const char* frameName(FrameType type);

} // namespace tavisto::sim
