#include "sim/device/Models.h"

#include <array>

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

} // namespace tavisto::sim
