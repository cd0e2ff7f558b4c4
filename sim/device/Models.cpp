#include "sim/device/Models.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace tavisto::sim {

namespace {

constexpr std::array<std::string_view, kModelCount> kNames = {
    "KT350--MKA", "KT350--MKB", "KT350-MKC", "KT350-MKD", "KT750--MK", "KT350-MK", "KT750-MK",
};

} // namespace

std::string_view modelName(int model) {
    if (model < 0 || model >= kModelCount)
        return {};
    return kNames[static_cast<std::size_t>(model)];
}

int modelIndexOf(std::string_view name) {
    for (int i = 0; i < kModelCount; ++i) {
        if (kNames[static_cast<std::size_t>(i)] == name)
            return i;
    }
    return -1;
}

bool usesNamedTransfer(int model) {
    return model == 3 || model == 5 || model == 6;
}

bool usesFirmwareWakeUp(int model) {
    return model == 2;
}

bool drawsQrCodes(int model) {
    return model == 1 || model == 3 || model == 5 || model == 6;
}

bool isLineSpeed(std::uint64_t rate) {
    static constexpr std::uint64_t kRates[] = {1200,  2400,   4800,   9600,   19200, 38400,
                                               57600, 115200, 230400, 460800, 921600};
    return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}

} // namespace tavisto::sim
