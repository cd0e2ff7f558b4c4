#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tavisto {

// The seven display models. The index is the model index ("display mode") that the
// display's model reply maps to and that every workflow reads.
inline constexpr int kModelCount = 7;

struct PixelSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

// How pictures, fonts and firmware reach the display's storage: by flash address
// (the display pulls numbered blocks) or by file name (the host pushes the file).
enum class TransferStyle { Addressed, Named };

struct DisplayModel {
    int index;
    std::string_view name;
    PixelSize panel; // 480x272 or 800x480
    TransferStyle transfer;
    bool reportsFirmware; // answers the version query; has the guest picture slot
    bool drawsQrCodes;    // encodes a QR code from text itself ("QR code at")
    bool firmwareWakeUp;  // firmware goes by wake-up and announce, not by setup

    constexpr bool isAddressed() const { return transfer == TransferStyle::Addressed; }
    constexpr bool isNamed() const { return transfer == TransferStyle::Named; }
    constexpr bool isSmallPanel() const { return panel.width == 480; }
    // "480X272" or "800X480": the suffix of the model's embedded font images.
    constexpr std::string_view resolutionSuffix() const {
        return isSmallPanel() ? "480X272" : "800X480";
    }
};

inline constexpr std::array<DisplayModel, kModelCount> DisplayModels = {{
    {0, "KT350--MKA", {480, 272}, TransferStyle::Addressed, false, false, false},
    {1, "KT350--MKB", {480, 272}, TransferStyle::Addressed, false, true, false},
    {2, "KT350-MKC", {800, 480}, TransferStyle::Addressed, false, false, true},
    {3, "KT350-MKD", {800, 480}, TransferStyle::Named, true, true, false},
    {4, "KT750--MK", {800, 480}, TransferStyle::Addressed, false, false, false},
    {5, "KT350-MK", {800, 480}, TransferStyle::Named, true, true, false},
    {6, "KT750-MK", {800, 480}, TransferStyle::Named, true, true, false},
}};

// The row of a model index, or nullptr outside 0..6.
constexpr const DisplayModel* FindModel(int index) {
    return index >= 0 && index < kModelCount ? &DisplayModels[static_cast<std::size_t>(index)]
                                             : nullptr;
}

// The model of a name (exact comparison), or nullptr.
const DisplayModel* FindModelByName(std::string_view name);

// The predicates of a connected model; nullptr (no model found yet) has none.
// Models 3, 5 and 6 report a firmware version and have the fourteenth picture slot.
constexpr bool ModelHasFirmwareCheck(const DisplayModel* model) {
    return model && model->reportsFirmware;
}
// Models 1, 3, 5 and 6 draw a QR code from text, also over a stored picture.
constexpr bool ModelHasQrCodeAt(const DisplayModel* model) {
    return model && model->drawsQrCodes;
}
// The other models take a QR code as a picture that this program draws.
constexpr bool ModelTakesQrPictures(const DisplayModel* model) {
    return model && !model->drawsQrCodes;
}

// The picture size of slot 73..86 on a model: the start logo and the ten slide-show
// pictures fill the panel, the header logo and header picture are strips, the guest
// picture exists only on the models that report firmware. Empty where the model has
// no such slot.
std::optional<PixelSize> SlotPictureSize(const DisplayModel& model, int slot);

} // namespace tavisto
