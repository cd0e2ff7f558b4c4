#include "app/storage/ItemSize.h"

#include "app/transfer/JobSources.h"
#include "protocol/DownloadTable.h"
#include "protocol/Hex.h"

namespace tavisto {

namespace {

constexpr int kFirstMiniCodePage = 27;
constexpr int kFirstInterChar = 51;
constexpr int kFirstMiniInterChar = 64;
constexpr int kCp437Large = 2; // CP437_40x40: 256 cells of 40 x 40, 800x480 only
constexpr int kGbkFont = 17;   // CP936_GBK: 24,066 cells of 40 x 40, 800x480 only
constexpr std::uint32_t kTableSize = 48'132;
constexpr std::uint32_t kKt350FirmwareSize = 266'752;

// A font image's size in the small and the large panel's cells.
std::uint32_t fontSize(bool small, std::uint32_t smallSize, std::uint32_t largeSize) {
    return small ? smallSize : largeSize;
}

} // namespace

std::optional<std::uint32_t> ExpectedItemSize(int position, const DisplayModel& model) {
    const bool small = model.isSmallPanel();
    if (position == kCp437Large || position == kGbkFont) {
        if (small)
            return std::nullopt;
        return position == kCp437Large ? 51'200u : 4'813'200u;
    }
    if (position >= 1 && position < kFirstMiniCodePage)
        return fontSize(small, 36'864, 102'400);
    if (position >= kFirstMiniCodePage && position < kFirstInterChar)
        return fontSize(small, 16'384, 36'864);
    if (position >= kFirstInterChar && position < kFirstMiniInterChar)
        return fontSize(small, 1'728, 4'800);
    if (position >= kFirstMiniInterChar && position <= kLastFontPosition)
        return fontSize(small, 768, 1'728);
    if (position == kTablePosition)
        return kTableSize;
    // The one firmware image there is: the KT350 models' (the name the firmware
    // resource is looked up by).
    if (position == kFirmwarePosition && FirmwareResourceName(model) == "KT350MK")
        return kKt350FirmwareSize;
    return std::nullopt;
}

std::string OddSizeQuestion(int position, const DisplayModel& model, std::uint32_t expected,
                            const std::string& fileName, std::uint64_t size) {
    return std::string(DownFileAt(position).Name) + " is " + GroupedNumber(expected) +
           " bytes on the " + std::string(model.name) + ", but \"" + fileName + "\" has " +
           GroupedNumber(size) +
           " bytes: it may not be this item at all, and the display would show what it "
           "holds. Send it anyway?";
}

} // namespace tavisto
