#include "protocol/DisplayCommands.h"
#include "protocol/DisplayFrames.h"
#include "protocol/FrameExecutor.h"
#include "protocol/SessionIo.h"

namespace tavisto {

namespace {

constexpr Millis kQrStepPause{100};
constexpr Millis kQrSettle{1000};
constexpr std::size_t kQrPiece = 256;

} // namespace

bool LcdSetTextColor(TConnection& c, TArea area, std::uint32_t color, std::string& message) {
    return SendEchoedFrame(c, TextColorFrame(area, color),
                           {"Set TextColor Error!", "Set TextColor Error : Time out !"}, message);
}

bool LcdSetBackgroundColor(TConnection& c, TArea area, std::uint32_t color, std::string& message) {
    return SendEchoedFrame(c, BackgroundColorFrame(area, color),
                           {"Set BackgroudColor Error!", "Set BackgroudColor Error : Time out !"},
                           message);
}

bool LcdSetHeaderMode(TConnection& c, int tpMode, std::string& message) {
    return SendEchoedFrame(c, HeaderModeFrame(tpMode),
                           {"Set Title mode Error!", "Set Title mode Error : Time out !"}, message);
}

bool LcdSetMainTextLines(TConnection& c, int lineMode, std::string& message) {
    return SendFrameReadOnce(c, MainTextLinesFrame(lineMode), "Set Main Text Lines Error!",
                             message);
}

bool LcdSetLinkBaudRate(TConnection& c, int baudRate, std::string& message) {
    if (!c.SessionPort) {
        message = kSerialPortNotOpened;
        return false;
    }
    const Bytes frame = LinkBaudRateFrame(baudRate);
    const bool written = WritePort(c.SessionPort, frame, message);
    traceSent(c, frame);
    return written;
}

bool LcdShowPicture(TConnection& c, int picture, std::string& message) {
    return SendSessionFrame(c, ShowPictureFrame(picture), message);
}

bool LcdSetMainText(TConnection& c, const Bytes& text, std::string& message) {
    return SendSessionFrame(c, MainTextFrame(text), message);
}

bool LcdSetPictureSelection(TConnection& c, std::uint16_t picReg, std::string& message) {
    return SendSessionFrame(c, PictureSelectionFrame(picReg), message);
}

bool LcdSetStandbyTime(TConnection& c, int seconds, std::string& message) {
    return SendSessionFrame(c, StandbyTimeFrame(seconds), message);
}

bool LcdSetPlayInterval(TConnection& c, int seconds, std::string& message) {
    return SendSessionFrame(c, PlayIntervalFrame(seconds), message);
}

bool LcdShowQrCode(TConnection& c, int align, const Bytes& text, std::string& message) {
    return SendSessionFrame(c, QrCodeFrame(align, text), message);
}

bool LcdShowQrCodeAt(TConnection& c, int align, int picture, const Bytes& text,
                     std::string& message) {
    return SendSessionFrame(c, QrCodeAtFrame(align, picture, text), message);
}

bool LcdFormatStorage(TConnection& c, std::string& message) {
    return SendSessionFrame(c, FormatStorageFrame(), message);
}

bool LcdSetCommandMode(TConnection& c, int index, std::string& message) {
    return SendSessionFrame(c, CommandModeFrame(index), message);
}

bool LcdSetBaudRate(TConnection& c, int baudRateCode, std::string& message) {
    return SendSessionFrame(c, BaudRateFrame(baudRateCode), message);
}

bool LcdSetWelcomeLine1(TConnection& c, const Bytes& text, std::string& message) {
    return SendSessionFrame(c, WelcomeLine1Frame(text), message);
}

bool LcdSetWelcomeLine2(TConnection& c, const Bytes& text, std::string& message) {
    return SendSessionFrame(c, WelcomeLine2Frame(text), message);
}

bool LcdSetLine2Scroll(TConnection& c, int flags, std::string& message) {
    return SendSessionFrame(c, Line2ScrollFrame(flags), message);
}

int LcdSendQrImage(TConnection& c, const Bytes& imageData, int align, int third,
                   std::string& message) {
    message = "OK";
    if (!c.SessionPort)
        return kQrNoSession;
    c.clock().sleep(kQrStepPause);
    if (!WritePort(c.SessionPort, QrImageHeaderFrame(align, third), message))
        return kQrHeaderFailed;
    c.clock().sleep(kQrStepPause);
    // Every piece is written even after one fails, so the frames on the line stay those
    // of a whole picture; but a picture with a lost piece never counts as shown. The
    // first failure's text is the one kept.
    bool piecesWritten = true;
    std::string pieceError;
    for (std::size_t offset = 0; offset < imageData.size(); offset += kQrPiece) {
        std::string written;
        if (!WritePort(c.SessionPort, imageData.substr(offset, kQrPiece), written) &&
            piecesWritten) {
            piecesWritten = false;
            pieceError = written;
        }
    }
    c.clock().sleep(kQrStepPause);
    std::string endWritten;
    const bool endOk = WritePort(c.SessionPort, QrImageEndFrame(), endWritten);
    if (!piecesWritten) {
        message = pieceError;
        return kQrPieceFailed;
    }
    if (!endOk) {
        message = endWritten;
        return kQrEndFailed;
    }
    c.clock().sleep(kQrSettle);
    return 0;
}

int LcdSendQrImage(TConnection& c, const Bytes& imageData, int align, int third) {
    std::string message;
    return LcdSendQrImage(c, imageData, align, third, message);
}

} // namespace tavisto
