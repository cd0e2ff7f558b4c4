#pragma once

#include "link/Bytes.h"
#include "sim/device/Time.h"
#include "sim/line/LineFraming.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace tavisto::sim {

// Ways a display (or its line) can misbehave, switchable at run time so that tests
// can see how the host copes. The defaults describe a healthy display.
struct Faults {
    bool silent = false;               // answers nothing (frames are still taken in)
    bool wrongEcho = false;            // echoes come back with their last byte changed
    bool shortEcho = false;            // echoes come back without their last byte
    std::optional<Bytes> modelReply;   // sent instead of the model name and its 00
    std::optional<Bytes> versionReply; // sent instead of the version bytes
    std::size_t splitAt = 0;           // > 0: replies leave in two pieces, split here
    Millis splitPause{50};             // the pause between the two pieces
    Bytes garbage;                     // sent before every reply
    bool pacing = false;               // bytes travel at the wire rate (baud / 10 per second)
    // The framing the host's port is taken to be at. A pseudo-terminal keeps the stop
    // bits a host sets but always reports 8 data bits and no parity, whatever the
    // host asked for; this stands in for what the line cannot show.
    std::optional<Framing> hostFraming;
    // Transfers.
    bool wrongFileCrc = false;   // the CRC reported for a stored file is off by one
    int dropBlock = -1;          // the first arrival of this block number is lost
    int hangUpAfterBlocks = -1;  // the display stops asking for blocks after this many
    int repeatRequest = -1;      // the request for this block is written twice, back to back
    Bytes transferGarbage;       // sent before every block request and finished frame
    bool refuseMakeFile = false; // make-file frames are answered "ERR" and not taken
    // Block numbers count from 0; on the named transfer a block is the file's 256-byte
    // piece of that number, as the host writes them.
    int corruptBlock = -1;     // the first arrival of this block has a bit flipped on the line
    int silentAfterBlock = -1; // after taking this block the display reads and answers nothing
    bool keepSpeed = false;    // a baud rate code is refused: the display stays at its speed
    Millis replyDelay{0};      // every reply leaves this long after what it answers
    std::optional<Bytes> settingsReply; // sent instead of the settings text and its 00
    // Faults on one kind of frame, named by the bytes it begins with (such as 02 07 0C).
    Bytes wrongEchoTo; // echoes of such frames come back with their last byte changed
    Bytes silentAfter; // after such a frame the display reads and answers nothing
    Bytes trailer;     // sent after every reply
    // Replies to frames (answers and echoes), counted from 0 since these faults were
    // set, that never leave.
    std::vector<int> lostReplies;
};

// What a reply is, so that faults can pick the replies they concern.
enum class ReplyKind { Echo, Answer, Transfer };

struct Reply {
    Bytes bytes;
    ReplyKind kind = ReplyKind::Answer;
};

// A piece of a reply and the pause before it leaves.
struct ReplyPiece {
    Bytes bytes;
    Millis pauseBefore{0};
};

// Applies the delivery faults (a delay, garbage before the reply and a trailer after
// it, split with a pause).
std::vector<ReplyPiece> shapeReply(const Bytes& reply, const Faults& faults);

// Applies the echo faults to an echo.
Bytes distortEcho(Bytes echo, const Faults& faults);

} // namespace tavisto::sim
