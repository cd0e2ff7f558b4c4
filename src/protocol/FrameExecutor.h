#pragma once

#include "link/Connection.h"

#include <string>

namespace tavisto {

// Sends one command frame the way its command asks for and judges the answer.
// Each returns true with "OK" in `message`, or false with the port-open error,
// the write error or the command's own reply error.

// Opens OneShotPort when it is closed, writes the frame and closes the port.
// One-shot frames are not traced and get no reply.
bool SendOneShotFrame(TConnection& c, const Bytes& frame, std::string& message);

// Opens the session when needed, writes the frame and closes the session.
bool SendSessionFrame(TConnection& c, const Bytes& frame, std::string& message);

// What an echo check reports besides "OK".
struct TEchoTexts {
    const char* wrongEcho; // the echo differs from the frame
    const char* timeOut;   // no complete echo in time (polled echoes only)
};

// Opens the session when needed, writes and traces the frame and, after 500 ms,
// polls every 100 ms until the reply is at least as long as the frame or 1728 ms
// have passed; the reply must equal the frame. Closes the session.
bool SendEchoedFrame(TConnection& c, const Bytes& frame, const TEchoTexts& texts,
                     std::string& message);

// As SendEchoedFrame, but reads once after 500 ms: nothing or a different reply
// is the `wrongEcho` failure.
bool SendFrameReadOnce(TConnection& c, const Bytes& frame, const char* wrongEcho,
                       std::string& message);

} // namespace tavisto
