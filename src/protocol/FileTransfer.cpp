#include "protocol/FileTransfer.h"

#include "protocol/SessionIo.h"
#include "protocol/TransferFrames.h"

namespace tavisto {

namespace {

constexpr Millis kSetupPause{200};
constexpr Millis kSetupPoll{100};
constexpr int kSetupLimit = 5000; // 4.32 s
constexpr std::size_t kSetupFrameLength = 10;

constexpr Millis kWakeUpPoll{100};
constexpr int kWakeUpLimit = 10000; // 8.64 s

constexpr Millis kMakeFilePoll{50};
constexpr int kMakeFileLimit = 1000; // 0.864 s

constexpr Millis kCrcPoll{100};
constexpr int kCrcLimit = 300; // 259.2 ms

const Bytes kDownloadStart("\x02\x07\x27\x27\x27", 5);
const Bytes kWakeUp("\x07\x07\x07\x07", 4);

bool portOpen(TConnection& c, std::string& message) {
    if (c.SessionPort)
        return true;
    message = kSerialPortNotOpened;
    return false;
}

// Reads what is waiting and appends it; false with the read's message when nothing was.
bool pollAppend(TConnection& c, Bytes& reply, std::string& message) {
    Bytes chunk;
    if (!ReadPort(c.SessionPort, chunk, message))
        return false;
    reply += chunk;
    return true;
}

} // namespace

bool LcdTransferSetup(TConnection& c, const std::string& addressHex, const std::string& lengthHex,
                      std::string& message) {
    if (!portOpen(c, message))
        return false;
    const Bytes frame = TransferSetupFrame(addressHex, lengthHex);
    if (!WritePort(c.SessionPort, frame, message))
        return false;
    traceSent(c, frame);
    c.clock().sleep(kSetupPause);

    const TimePoint start = c.clock().now();
    Bytes reply;
    for (;;) {
        if (!pollAppend(c, reply, message))
            return false;
        if (reply.size() >= kSetupFrameLength)
            break;
        c.clock().sleep(kSetupPoll);
        if (!withinLimit(start, c.clock().now(), kSetupLimit)) {
            message = "Download service setup failed : Time out !";
            return false;
        }
    }
    traceReceived(c, reply);
    if (reply != frame) {
        message = "Download service setup failed !";
        return false;
    }
    message = "OK";
    return true;
}

bool LcdSendStart(TConnection& c, std::string& message) {
    return WritePort(c.SessionPort, kDownloadStart, message);
}

bool LcdSendBlock(TConnection& c, const Bytes& blockNumberBytes, const Bytes& data,
                  std::string& message) {
    if (!portOpen(c, message))
        return false;
    const Bytes frame = BlockFrame(blockNumberBytes, data);
    const bool written = WritePort(c.SessionPort, frame, message);
    // A block is 274 bytes: spell it out only when someone reads the trace.
    if (c.trace.enabled())
        traceSent(c, frame);
    return written;
}

bool LcdFirmwareHandshake(TConnection& c, std::string& message) {
    if (!portOpen(c, message))
        return false;
    const TimePoint start = c.clock().now();
    Bytes reply;
    for (;;) {
        std::string ignored;
        WritePort(c.SessionPort, kWakeUp, ignored);
        Bytes chunk;
        if (ReadPort(c.SessionPort, chunk, ignored)) {
            traceReceived(c, chunk);
            reply += chunk;
        }
        if (!reply.empty() && reply.front() == 'A') {
            message = "OK";
            return true;
        }
        if (reply.empty())
            c.clock().sleep(kWakeUpPoll);
        else
            reply.erase(0, 1);
        // Checked on every round, not only on empty ones, so that a display that
        // keeps sending other bytes cannot hold the loop for ever.
        if (!withinLimit(start, c.clock().now(), kWakeUpLimit)) {
            message = "Upgrade Failed: Time out 1!";
            return false;
        }
    }
}

bool LcdSendFirmwareAnnounce(TConnection& c, std::uint32_t length, std::uint16_t fileCrc,
                             std::string& message) {
    return WritePort(c.SessionPort, FirmwareAnnounceFrame(length, fileCrc), message);
}

bool LcdMakeFile(TConnection& c, const Bytes& fileName, std::uint32_t length, std::uint16_t crc,
                 std::string& message) {
    if (!portOpen(c, message))
        return false;
    const Bytes frame = MakeFileFrame(fileName, length, crc);
    if (!WritePort(c.SessionPort, frame, message))
        return false;
    traceSent(c, frame);
    c.clock().sleep(kMakeFilePoll);

    const TimePoint start = c.clock().now();
    Bytes reply;
    bool accepted = false;
    for (;;) {
        std::string ignored;
        pollAppend(c, reply, ignored);
        if (reply.size() > 2) {
            traceReceived(c, reply);
            accepted = reply.compare(0, 2, "OK") == 0;
            message = accepted ? "OK" : "Make Flie failed !";
            break;
        }
        c.clock().sleep(kMakeFilePoll);
        if (!withinLimit(start, c.clock().now(), kMakeFileLimit)) {
            message = "Make File failed : Time out !";
            break;
        }
    }
    c.SessionPort->purgeInput();
    return accepted;
}

bool LcdSendRaw(TConnection& c, const Bytes& data, std::string& message,
                const std::function<void(int piece)>& onPiece, const std::atomic<bool>* cancel) {
    int piece = 0;
    for (std::size_t at = 0; at < data.size(); at += kBlockSize) {
        if (cancel && cancel->load()) {
            message = "Cancelled";
            return false;
        }
        if (!WritePort(c.SessionPort, data.substr(at, kBlockSize), message))
            return false;
        if (onPiece)
            onPiece(++piece);
    }
    message = "OK";
    return true;
}

bool LcdWaitFileCrc(TConnection& c, const std::string& crcText, std::string& message) {
    if (!portOpen(c, message))
        return false;
    const TimePoint start = c.clock().now();
    Bytes reply;
    for (;;) {
        if (!pollAppend(c, reply, message))
            return false;
        if (!reply.empty() && reply.back() == '\n')
            break;
        c.clock().sleep(kCrcPoll);
        if (!withinLimit(start, c.clock().now(), kCrcLimit)) {
            message = "Download failed : Time out !";
            return false;
        }
    }
    traceReceived(c, reply);
    reply.pop_back();
    if (reply != crcText) {
        message = "Download failed : Crc";
        return false;
    }
    message = "OK";
    return true;
}

} // namespace tavisto
