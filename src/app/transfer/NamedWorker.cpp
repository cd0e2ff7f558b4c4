#include "app/transfer/NamedWorker.h"

#include "protocol/FileTransfer.h"

namespace tavisto {

namespace {

constexpr Millis kVerdictPause{500};

// Ten bits a byte: start, eight data bits, stop.
Micros wireTime(std::size_t bytes, int baudRate) {
    return baudRate > 0 ? Micros(static_cast<long long>(bytes) * 10'000'000LL / baudRate)
                        : Micros(0);
}

} // namespace

bool RunNamedDataPhase(TConnection& connection, const Bytes& data, std::uint16_t crc, int baudRate,
                       const std::function<void(int piece)>& onPiece,
                       const std::atomic<bool>* cancel) {
    Clock& clock = connection.clock();
    const TimePoint start = clock.now();
    std::string message;
    if (!LcdSendRaw(connection, data, message, onPiece, cancel))
        return false;
    // The serial driver takes the last kilobytes long before they are on the wire;
    // the display can only answer once it has them all.
    const auto onWire = start + wireTime(data.size(), baudRate);
    if (const auto now = clock.now(); now < onWire)
        clock.sleep(std::chrono::ceil<Millis>(onWire - now));
    clock.sleep(kVerdictPause);
    return LcdWaitFileCrc(connection, std::to_string(crc), message);
}

} // namespace tavisto
