#pragma once

#include "sim/device/Storage.h"

#include <string_view>

namespace tavisto::sim {

// The bytes a display keeps for an item of the download table (a font, a picture
// slot), found where the model's transfer style puts it: at the item's flash address
// on the addressed models, under its file name on the named ones. Empty when the
// item is not stored. The view lives as long as the storage is not changed.
std::string_view storedItem(const Storage& storage, int model, std::string_view itemName);

} // namespace tavisto::sim
