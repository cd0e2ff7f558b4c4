#include "protocol/ModelTable.h"

namespace tavisto {

const DisplayModel* FindModelByName(std::string_view name) {
    for (const DisplayModel& model : DisplayModels)
        if (model.name == name)
            return &model;
    return nullptr;
}

std::optional<PixelSize> SlotPictureSize(const DisplayModel& model, int slot) {
    const bool small = model.isSmallPanel();
    switch (slot) {
    case 74:
        return small ? PixelSize{120, 40} : PixelSize{240, 80};
    case 75:
        return small ? PixelSize{360, 40} : PixelSize{560, 80};
    case 86:
        if (!model.reportsFirmware)
            return std::nullopt;
        return PixelSize{800, 360};
    default:
        if (slot == 73 || (slot >= 76 && slot <= 85))
            return model.panel;
        return std::nullopt;
    }
}

} // namespace tavisto
