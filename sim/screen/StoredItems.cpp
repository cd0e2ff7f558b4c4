#include "sim/screen/StoredItems.h"

#include "protocol/DownloadTable.h"
#include "sim/device/Models.h"

#include <cctype>

namespace tavisto::sim {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::string_view storedItem(const Storage& storage, int model, std::string_view itemName) {
    for (int position = 1; position <= kDownFileCount; ++position) {
        const TDownFiles& row = DownFileAt(position);
        if (!sameName(row.Name, itemName))
            continue;
        if (usesNamedTransfer(model)) {
            auto it = storage.files.find(row.FileName);
            return it == storage.files.end() ? std::string_view{} : std::string_view(it->second);
        }
        const auto address = AddressOfPosition(position);
        if (!address)
            return {};
        auto it = storage.flash.find(*address);
        return it == storage.flash.end() ? std::string_view{} : std::string_view(it->second);
    }
    return {};
}

} // namespace tavisto::sim
