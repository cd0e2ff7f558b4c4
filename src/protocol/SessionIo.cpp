#include "protocol/SessionIo.h"

#include "protocol/Hex.h"

#include <algorithm>

namespace tavisto {

namespace {

// The longest single wait inside a polling loop.
constexpr Millis kPollSlice{5};

} // namespace

void traceSent(TConnection& connection, const Bytes& frame) {
    connection.trace.TraceLine("----> " + BytesToHex(frame));
}

void traceReceived(TConnection& connection, const Bytes& reply) {
    connection.trace.TraceLine("<---- " + BytesToHex(reply));
}

bool readAppend(link::PortHandle& port, Bytes& reply) {
    Bytes chunk;
    std::string message;
    if (!ReadPort(port, chunk, message))
        return false;
    reply += chunk;
    return true;
}

bool endsWithNul(const Bytes& bytes) {
    return !bytes.empty() && bytes.back() == '\0';
}

ReplyWindow::ReplyWindow(TConnection& connection, link::PortHandle& port, int limitUnits)
    : connection_(connection), port_(port), start_(connection.clock().now()),
      limitUnits_(limitUnits) {}

bool ReplyWindow::open() const {
    return withinLimit(start_, connection_.clock().now(), limitUnits_);
}

bool ReplyWindow::read(Bytes& reply) {
    const bool got = readAppend(port_, reply);
    emptyAfterReady_ = !got && lastWaitReady_;
    lastWaitReady_ = false;
    return got;
}

void ReplyWindow::idle() {
    const auto remaining = waitLimit(limitUnits_) - (connection_.clock().now() - start_);
    const Millis slice = std::clamp(std::chrono::ceil<Millis>(remaining), Millis(1), kPollSlice);
    // A port that reports input but then yields none (a hung-up line) would make
    // the wait return at once every time; sleep instead of spinning on it.
    if (!port_ || emptyAfterReady_) {
        connection_.clock().sleep(slice);
        return;
    }
    lastWaitReady_ = port_->waitForInput(slice);
}

} // namespace tavisto
