#include "protocol/FrameExecutor.h"

#include "protocol/LinkControl.h"
#include "protocol/SessionIo.h"

namespace tavisto {

namespace {

constexpr Millis kEchoPause{500};
constexpr Millis kEchoPoll{100};
constexpr int kEchoLimit = 2000; // 1728 ms

// Opens the session when needed, writes and traces the frame and waits the
// display's echo pause. False when the session does not open.
bool sendAndPause(TConnection& c, const Bytes& frame, std::string& message) {
    if (!EnsureSession(c, message))
        return false;
    std::string writeMessage;
    WritePort(c.SessionPort, frame, writeMessage);
    traceSent(c, frame);
    c.clock().sleep(kEchoPause);
    return true;
}

} // namespace

bool SendOneShotFrame(TConnection& c, const Bytes& frame, std::string& message) {
    if (!c.OneShotPort && OpenOneShotPort(c, c.CurrentPortName, c.CurrentBaudRate, message) != 1)
        return false;
    const bool written = WritePort(c.OneShotPort, frame, message);
    CloseOneShotPort(c);
    return written;
}

bool SendSessionFrame(TConnection& c, const Bytes& frame, std::string& message) {
    if (!EnsureSession(c, message))
        return false;
    const bool written = WritePort(c.SessionPort, frame, message);
    LcdCloseSession(c);
    return written;
}

bool SendEchoedFrame(TConnection& c, const Bytes& frame, const TEchoTexts& texts,
                     std::string& message) {
    if (!sendAndPause(c, frame, message))
        return false;
    const TimePoint start = c.clock().now();
    Bytes reply;
    bool ok = false;
    for (;;) {
        readAppend(c.SessionPort, reply);
        if (reply.size() >= frame.size()) {
            traceReceived(c, reply);
            ok = reply == frame;
            message = ok ? "OK" : texts.wrongEcho;
            break;
        }
        c.clock().sleep(kEchoPoll);
        if (!withinLimit(start, c.clock().now(), kEchoLimit)) {
            message = texts.timeOut;
            break;
        }
    }
    LcdCloseSession(c);
    return ok;
}

bool SendFrameReadOnce(TConnection& c, const Bytes& frame, const char* wrongEcho,
                       std::string& message) {
    if (!sendAndPause(c, frame, message))
        return false;
    Bytes reply;
    const bool got = readAppend(c.SessionPort, reply);
    if (got)
        traceReceived(c, reply);
    const bool ok = got && reply == frame;
    message = ok ? "OK" : wrongEcho;
    LcdCloseSession(c);
    return ok;
}

} // namespace tavisto
