#include "protocol/Session.h"

#include "protocol/DisplayFrames.h"
#include "protocol/LinkControl.h"
#include "protocol/SessionIo.h"
#include "settings/HostCodePage.h"

namespace tavisto {

namespace {

const Bytes kModelQuery = ModelQueryFrame();
const Bytes kVersionQuery = VersionQueryFrame();
const Bytes kConfigurationQuery = ConfigurationQueryFrame();

// The display gets this long to prepare an answer before the first read.
constexpr Millis kAnswerPause{100};
constexpr Millis kProbeGap{100};
constexpr int kWaitReadyProbes = 51;

// Wait limits in 0.864 ms units.
constexpr int kIdentifyLimit = 100;       // 86.4 ms
constexpr int kProbeLimit = 200;          // 172.8 ms
constexpr int kConfigurationLimit = 1500; // 1296 ms

constexpr const char* kTimeOut = "Not found Device : Time out !";
constexpr const char* kUnknownModel = "Unknown model !";

// The model of a complete "name 00" reply, with the operator text of the outcome.
int judgeModelReply(TConnection& connection, const Bytes& reply, std::string& message) {
    traceReceived(connection, reply);
    const DisplayModel* found = FindModelByName(reply.substr(0, reply.size() - 1));
    const int model = found ? found->index : -1;
    message = model >= 0 ? "OK" : kUnknownModel;
    return model;
}

} // namespace

int LcdIdentifyModel(TConnection& connection, std::string& message) {
    if (!EnsureSession(connection, message))
        return -1;
    std::string writeMessage;
    WritePort(connection.SessionPort, kModelQuery, writeMessage);
    connection.clock().sleep(kAnswerPause);

    ReplyWindow window(connection, connection.SessionPort, kIdentifyLimit);
    Bytes reply;
    int model = -1;
    for (;;) {
        const bool got = window.read(reply);
        if (endsWithNul(reply)) {
            model = judgeModelReply(connection, reply, message);
            break;
        }
        if (!window.open()) {
            message = kTimeOut;
            break;
        }
        if (!got)
            window.idle();
    }
    LcdCloseSession(connection);
    return model;
}

bool LcdProbeModel(TConnection& connection, std::string& message) {
    if (!WritePort(connection.SessionPort, kModelQuery, message))
        return false;
    traceSent(connection, kModelQuery);
    connection.clock().sleep(kAnswerPause);

    const TimePoint start = connection.clock().now();
    Bytes reply;
    for (;;) {
        // The probe does not wait for stragglers: a read that finds nothing ends it.
        Bytes chunk;
        if (!ReadPort(connection.SessionPort, chunk, message))
            return false;
        reply += chunk;
        if (endsWithNul(reply))
            return judgeModelReply(connection, reply, message) >= 0;
        if (!withinLimit(start, connection.clock().now(), kProbeLimit)) {
            message = kTimeOut;
            return false;
        }
    }
}

bool LcdWaitReady(TConnection& connection, std::string& message, bool keepSession) {
    if (!keepSession && !EnsureSession(connection, message))
        return false;
    bool ready = false;
    for (int probe = 0; probe < kWaitReadyProbes && !ready; ++probe) {
        ready = LcdProbeModel(connection, message);
        connection.clock().sleep(kProbeGap);
    }
    if (!keepSession)
        LcdCloseSession(connection);
    return ready;
}

std::uint32_t LcdReadVersion(TConnection& connection, std::string& message) {
    if (!EnsureSession(connection, message))
        return 0;
    std::string writeMessage;
    WritePort(connection.SessionPort, kVersionQuery, writeMessage);
    connection.clock().sleep(kAnswerPause);

    std::uint32_t version = 0;
    Bytes reply;
    if (ReadPort(connection.SessionPort, reply, message)) {
        // Raw bytes, most significant first; only the last four fit in 32 bits.
        for (unsigned char byte : reply)
            version = (version << 8) | byte;
        message = "OK";
    } else {
        message = "Read Version Error !";
    }
    LcdCloseSession(connection);
    return version;
}

void LcdGetConfiguration(TConnection& connection, std::string& message,
                         std::string& configuration) {
    configuration.clear();
    if (!EnsureSession(connection, message))
        return;
    std::string writeMessage;
    WritePort(connection.SessionPort, kConfigurationQuery, writeMessage);
    connection.clock().sleep(kAnswerPause);

    ReplyWindow window(connection, connection.SessionPort, kConfigurationLimit);
    Bytes reply;
    for (;;) {
        const bool got = window.read(reply);
        if (endsWithNul(reply)) {
            configuration = HostBytesToText(reply);
            message = "OK";
            break;
        }
        if (!window.open()) {
            message = "Get configuration: Time out !";
            break;
        }
        if (!got)
            window.idle();
    }
    LcdCloseSession(connection);
}

} // namespace tavisto
