#include "app/transfer/WireProgress.h"

#include <algorithm>

namespace tavisto {

Micros WireTime(std::size_t bytes, int baudRate) {
    return baudRate > 0 ? Micros(static_cast<long long>(bytes) * 10'000'000LL / baudRate)
                        : Micros(0);
}

std::size_t BytesOnWire(std::size_t written, std::optional<std::size_t> pending, Micros elapsed,
                        int baudRate) {
    const std::size_t sent = written - std::min(written, pending.value_or(0));
    if (baudRate <= 0 || elapsed.count() <= 0)
        return 0;
    const auto byRate =
        static_cast<std::size_t>(elapsed.count() * static_cast<long long>(baudRate) / 10'000'000LL);
    return std::min(sent, byRate);
}

} // namespace tavisto
