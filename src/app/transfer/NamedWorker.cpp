#include "app/transfer/NamedWorker.h"

#include "app/transfer/WireProgress.h"
#include "protocol/FileTransfer.h"
#include "protocol/TransferFrames.h"

#include <algorithm>

namespace tavisto {

namespace {

constexpr Millis kVerdictPause{500};
constexpr Millis kWireReport{100};
// How long the port may keep bytes it reports as unsent once the line's rate says
// they should be gone (a line held by flow control) before the phase goes on.
constexpr Millis kDrainGrace{2000};

bool portMissingOrHungUp(TConnection& connection) {
    return !connection.SessionPort || connection.SessionPort->hungUp();
}

TNamedOutcome failed(TNamedOutcome::Failure failure, std::string message) {
    return TNamedOutcome{false, failure, std::move(message)};
}

// A write that failed: the line went away ("1: " is the write itself failing, as on
// a line whose other end closed), or it stopped taking bytes ("3: ", the write's
// time-out).
TNamedOutcome writeFailed(TConnection& connection, std::string message) {
    if (message == "Cancelled")
        return failed(TNamedOutcome::Failure::Cancelled, std::move(message));
    const bool gone = portMissingOrHungUp(connection) || message.rfind("1: ", 0) == 0;
    return failed(gone ? TNamedOutcome::Failure::PortClosed
                       : TNamedOutcome::Failure::StoppedReading,
                  std::move(message));
}

} // namespace

std::string NamedFailureCause(TNamedOutcome::Failure failure) {
    switch (failure) {
    case TNamedOutcome::Failure::PortClosed:
        return "the port closed";
    case TNamedOutcome::Failure::StoppedReading:
        return "the display stopped reading";
    default:
        return {};
    }
}

TNamedOutcome RunNamedDataPhase(TConnection& connection, const Bytes& data, std::uint16_t crc,
                                int baudRate,
                                const std::function<void(std::uint32_t bytesOnWire)>& onWire,
                                const std::atomic<bool>* cancel) {
    Clock& clock = connection.clock();
    const TimePoint start = clock.now();
    std::size_t reported = 0;
    // Reports the bytes on the wire when they grew; returns them.
    auto report = [&](std::size_t written) {
        const auto elapsed = std::chrono::duration_cast<Micros>(clock.now() - start);
        const std::size_t onLine = BytesOnWire(
            written,
            connection.SessionPort ? connection.SessionPort->outputPending() : std::nullopt,
            elapsed, baudRate);
        if (onLine > reported) {
            reported = onLine;
            if (onWire)
                onWire(static_cast<std::uint32_t>(onLine));
        }
        return onLine;
    };

    std::string message;
    if (!LcdSendRaw(
            connection, data, message,
            [&](int piece) {
                report(std::min(data.size(), static_cast<std::size_t>(piece) * kBlockSize));
            },
            cancel))
        return writeFailed(connection, std::move(message));

    // The port took the last kilobytes long before they are on the wire; the display
    // can only answer once it has them all. Meanwhile the progress follows the wire.
    const TimePoint allSent = start + WireTime(data.size(), baudRate);
    while (report(data.size()) < data.size() || clock.now() < allSent) {
        if (portMissingOrHungUp(connection))
            return failed(TNamedOutcome::Failure::PortClosed, {});
        if (cancel && cancel->load())
            return failed(TNamedOutcome::Failure::Cancelled, "Cancelled");
        const TimePoint now = clock.now();
        if (now >= allSent + kDrainGrace)
            break;
        const TimePoint until = now < allSent ? allSent : allSent + kDrainGrace;
        clock.sleep(std::clamp(std::chrono::ceil<Millis>(until - now), Millis(1), kWireReport));
    }
    clock.sleep(kVerdictPause);
    if (!LcdWaitFileCrc(connection, std::to_string(crc), message)) {
        // A display that died after the last byte leaves no answer and no line.
        if (portMissingOrHungUp(connection))
            return failed(TNamedOutcome::Failure::PortClosed, std::move(message));
        return failed(TNamedOutcome::Failure::Verdict, std::move(message));
    }
    return TNamedOutcome{true, TNamedOutcome::Failure::None, std::move(message)};
}

} // namespace tavisto
