#pragma once

#include "protocol/ModelTable.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavisto {

// The size of the file that table position 1..93 holds on a display of `model`: the
// font images of the model's resolution, the Big5/GBK table and the firmware of the
// KT350 models, as this program carries them. Nothing where no one size is known
// (the picture slots, the settings file, another model's firmware, a font the
// resolution has no image of).
std::optional<std::uint32_t> ExpectedItemSize(int position, const DisplayModel& model);

// The question asked before a file whose size is not the item's is sent as it.
std::string OddSizeQuestion(int position, const DisplayModel& model, std::uint32_t expected,
                            const std::string& fileName, std::uint64_t size);

} // namespace tavisto
