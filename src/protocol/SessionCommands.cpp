#include "protocol/DisplayCommands.h"
#include "protocol/SessionIo.h"

namespace tavisto {

namespace {

constexpr Millis kEchoPause{500};
constexpr Millis kEchoPoll{100};
constexpr int kEchoLimit = 2000; // 1728 ms
constexpr Millis kQrStepPause{100};
constexpr Millis kQrSettle{1000};
constexpr std::size_t kQrPiece = 256;

const Bytes kPrefix("\x02\x07", 2);

Bytes byte(int value) {
    return Bytes(1, static_cast<char>(value & 0xFF));
}

Bytes bigEndian(std::uint32_t value, int byteCount) {
    Bytes bytes;
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    return bytes;
}

Bytes rgb(std::uint32_t color) {
    return byte(static_cast<int>(color)) + byte(static_cast<int>(color >> 8)) +
           byte(static_cast<int>(color >> 16));
}

// A text parameter that the display reads up to a 00 byte. A 00 inside the text
// would end it early on the display and make the rest read as further commands,
// so the text is cut there: the display shows what it would have shown anyway.
Bytes terminated(const Bytes& text) {
    return text.substr(0, text.find('\0')) + byte(0);
}

// Opens the session when needed, writes the frame and closes the session.
bool sendWithoutReply(TConnection& c, const Bytes& frame, std::string& message) {
    if (!ensureSession(c, message))
        return false;
    const bool written = WritePort(c.SessionPort, frame, message);
    LcdCloseSession(c);
    return written;
}

// Sends the frame and waits for the display to echo it: the reply is judged as
// soon as it is at least as long as the frame, polled every 100 ms after a 500 ms
// pause until 1728 ms have passed.
bool sendWithEcho(TConnection& c, const Bytes& frame, const char* errorText,
                  const char* timeOutText, std::string& message) {
    if (!ensureSession(c, message))
        return false;
    std::string writeMessage;
    WritePort(c.SessionPort, frame, writeMessage);
    traceSent(c, frame);
    c.clock().sleep(kEchoPause);

    const TimePoint start = c.clock().now();
    Bytes reply;
    bool ok = false;
    for (;;) {
        readAppend(c.SessionPort, reply);
        if (reply.size() >= frame.size()) {
            traceReceived(c, reply);
            ok = reply == frame;
            message = ok ? "OK" : errorText;
            break;
        }
        c.clock().sleep(kEchoPoll);
        if (!withinLimit(start, c.clock().now(), kEchoLimit)) {
            message = timeOutText;
            break;
        }
    }
    LcdCloseSession(c);
    return ok;
}

int textColorCode(TArea area) {
    switch (area) {
    case TArea::Header:
        return 0x0B;
    case TArea::Main:
        return 0x0E;
    case TArea::Footer:
        return 0x10;
    }
    return 0x0E;
}

int backgroundColorCode(TArea area) {
    switch (area) {
    case TArea::Header:
        return 0x0C;
    case TArea::Main:
        return 0x0F;
    case TArea::Footer:
        return 0x11;
    }
    return 0x0F;
}

} // namespace

bool LcdSetTextColor(TConnection& c, TArea area, std::uint32_t color, std::string& message) {
    return sendWithEcho(c, kPrefix + byte(textColorCode(area)) + rgb(color), "Set TextColor Error!",
                        "Set TextColor Error : Time out !", message);
}

bool LcdSetBackgroundColor(TConnection& c, TArea area, std::uint32_t color, std::string& message) {
    return sendWithEcho(c, kPrefix + byte(backgroundColorCode(area)) + rgb(color),
                        "Set BackgroudColor Error!", "Set BackgroudColor Error : Time out !",
                        message);
}

bool LcdSetHeaderMode(TConnection& c, int tpMode, std::string& message) {
    return sendWithEcho(c, kPrefix + byte(tpMode), "Set Title mode Error!",
                        "Set Title mode Error : Time out !", message);
}

bool LcdSetMainTextLines(TConnection& c, int lineMode, std::string& message) {
    if (!ensureSession(c, message))
        return false;
    const Bytes frame = kPrefix + byte(0x14) + byte(lineMode);
    std::string writeMessage;
    WritePort(c.SessionPort, frame, writeMessage);
    traceSent(c, frame);
    c.clock().sleep(kEchoPause);

    Bytes reply;
    const bool got = readAppend(c.SessionPort, reply);
    if (got)
        traceReceived(c, reply);
    const bool ok = got && reply == frame;
    message = ok ? "OK" : "Set Main Text Lines Error!";
    LcdCloseSession(c);
    return ok;
}

bool LcdSetLinkBaudRate(TConnection& c, int baudRate, std::string& message) {
    if (!c.SessionPort) {
        message = kSerialPortNotOpened;
        return false;
    }
    const Bytes frame = kPrefix + byte(0x04) + bigEndian(static_cast<std::uint32_t>(baudRate), 4);
    const bool written = WritePort(c.SessionPort, frame, message);
    traceSent(c, frame);
    return written;
}

bool LcdShowPicture(TConnection& c, int picture, std::string& message) {
    return sendWithoutReply(c, kPrefix + byte(0x1A) + byte(picture), message);
}

bool LcdSetMainText(TConnection& c, const Bytes& text, std::string& message) {
    return sendWithoutReply(c, kPrefix + byte(0x18) + text, message);
}

bool LcdSetPictureSelection(TConnection& c, std::uint16_t picReg, std::string& message) {
    return sendWithoutReply(c, kPrefix + byte(0x28) + bigEndian(picReg, 2), message);
}

bool LcdSetStandbyTime(TConnection& c, int seconds, std::string& message) {
    return sendWithoutReply(c, kPrefix + byte(0x1C) + byte(seconds), message);
}

bool LcdSetPlayInterval(TConnection& c, int seconds, std::string& message) {
    return sendWithoutReply(c, kPrefix + byte(0x1B) + byte(seconds), message);
}

bool LcdShowQrCode(TConnection& c, int align, const Bytes& text, std::string& message) {
    return sendWithoutReply(c, kPrefix + byte(0x1D) + byte(align) + byte(0) + terminated(text),
                            message);
}

bool LcdShowQrCodeAt(TConnection& c, int align, int picture, const Bytes& text,
                     std::string& message) {
    return sendWithoutReply(
        c, kPrefix + byte(0x1E) + byte(align) + byte(picture) + terminated(text), message);
}

bool LcdFormatStorage(TConnection& c, std::string& message) {
    return sendWithoutReply(c, kPrefix + Bytes("\x05\x00", 2), message);
}

bool LcdSetCommandMode(TConnection& c, int index, std::string& message) {
    return sendWithoutReply(c, Bytes("\x02\x43", 2) + std::to_string(index), message);
}

bool LcdSetBaudRate(TConnection& c, int baudRateCode, std::string& message) {
    return sendWithoutReply(c, Bytes("\x02\x42", 2) + std::to_string(baudRateCode), message);
}

bool LcdSetWelcomeLine1(TConnection& c, const Bytes& text, std::string& message) {
    return sendWithoutReply(c, kPrefix + Bytes("\x16\x06", 2) + terminated(text), message);
}

bool LcdSetWelcomeLine2(TConnection& c, const Bytes& text, std::string& message) {
    return sendWithoutReply(c, kPrefix + Bytes("\x16\x07", 2) + terminated(text), message);
}

bool LcdSetLine2Scroll(TConnection& c, int flags, std::string& message) {
    return sendWithoutReply(c, kPrefix + Bytes("\x16\x09", 2) + byte(flags), message);
}

int LcdSendQrImage(TConnection& c, const Bytes& imageData, int align, int third) {
    if (!c.SessionPort)
        return kQrNoSession;
    std::string message;
    c.clock().sleep(kQrStepPause);
    if (!WritePort(c.SessionPort, kPrefix + byte(0x19) + byte(align) + byte(third), message))
        return kQrHeaderFailed;
    c.clock().sleep(kQrStepPause);
    // Every piece is written even after one fails, so the frames on the line stay those
    // of a whole picture; but a picture with a lost piece never counts as shown.
    bool piecesWritten = true;
    for (std::size_t offset = 0; offset < imageData.size(); offset += kQrPiece)
        piecesWritten &= WritePort(c.SessionPort, imageData.substr(offset, kQrPiece), message);
    c.clock().sleep(kQrStepPause);
    const bool endWritten = WritePort(c.SessionPort, kPrefix + Bytes("\x19\x00", 2), message);
    if (!piecesWritten)
        return kQrPieceFailed;
    if (!endWritten)
        return kQrEndFailed;
    c.clock().sleep(kQrSettle);
    return 0;
}

} // namespace tavisto
