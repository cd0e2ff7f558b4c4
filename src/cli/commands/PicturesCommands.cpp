#include "app/pictures/PictureDownload.h"
#include "app/pictures/PlaySetting.h"
#include "app/pictures/SlotPictures.h"
#include "app/testing/DisplayTesting.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/commands/ConnectedModel.h"
#include "cli/shell/TerminalOperator.h"
#include "cli/commands/TransferQueue.h"
#include "pictures/ByteFiles.h"
#include "pictures/PictureConvert.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"
#include "protocol/Session.h"
#include "settings/HostCodePage.h"

#include <charconv>
#include <exception>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

namespace tavisto::cli {
namespace {

constexpr std::string_view kShowPictureHelp = R"(usage: tavisto-cli [OPTIONS] show-picture N

Shows stored picture N (1 to 10).
)";

constexpr std::string_view kPictureSelectionHelp =
    R"(usage: tavisto-cli [OPTIONS] picture-selection MASK

Chooses the pictures the display plays while idle: bit i of MASK (0 to 1023,
decimal or 0x hex) set means picture i+1 takes part; 0x3FF selects all ten.
)";

constexpr std::string_view kStandbyHelp = R"(usage: tavisto-cli [OPTIONS] standby SECONDS

Sets how long the display waits (0 to 120 seconds) before it starts playing its
pictures; 0 turns idle play off.
)";

constexpr std::string_view kIntervalHelp = R"(usage: tavisto-cli [OPTIONS] interval SECONDS

Sets how long each picture stays (1 to 10 seconds) during idle play.
)";

CliAction showPicture(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int picture = parseNumber(parsed.positional[0], "N", 1, 10);
    return sendAction(
        [picture](TConnection& c, std::string& m) { return LcdShowPicture(c, picture, m); });
}

CliAction pictureSelection(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const auto mask =
        static_cast<std::uint16_t>(parseNumber(parsed.positional[0], "MASK", 0, 0x3FF));
    return sendAction(
        [mask](TConnection& c, std::string& m) { return LcdSetPictureSelection(c, mask, m); });
}

CliAction standby(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int seconds = parseNumber(parsed.positional[0], "SECONDS", 0, 120);
    return sendAction(
        [seconds](TConnection& c, std::string& m) { return LcdSetStandbyTime(c, seconds, m); });
}

CliAction interval(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    const int seconds = parseNumber(parsed.positional[0], "SECONDS", 1, 10);
    return sendAction(
        [seconds](TConnection& c, std::string& m) { return LcdSetPlayInterval(c, seconds, m); });
}

constexpr std::string_view kSendPictureHelp =
    R"(usage: tavisto-cli [OPTIONS] send-picture SLOT IMAGE [SLOT IMAGE ...]

Puts each IMAGE into picture slot SLOT and sends the slots to the display in one
queue, as the window's Picture Management tab does with Download. Each picture
is scaled and cropped to the slot's size for the connected model exactly as
convert does (the middle is kept), then sent as raw RGB565 or as a JPEG file by
the model.

SLOT   73 start logo, 74 header logo, 75 header picture, 76 to 85 the idle-play
       pictures 1 to 10, 86 guest picture (only KT350-MKD, KT350-MK, KT750-MK);
       a slot the model does not have is refused before anything is sent
IMAGE  a .png/.PNG, .jpg/.JPG or .bmp/.BMP file (extensions compared exactly)

The pictures are read before the port is opened. Prints the summary; on a
terminal, standard error shows the progress. Exits with 0 only when every slot
was stored.
)";

constexpr std::string_view kPlaySettingHelp =
    R"(usage: tavisto-cli [OPTIONS] play-setting PICTURES STANDBY INTERVAL

Sets idle play as the Play Setting group of the window does, in one go: which
stored pictures play, how long the display waits before it starts, and how
long each picture stays.

PICTURES  a comma list of picture numbers 1 to 10 (such as 1,2,10), or none
STANDBY   0 to 120 seconds; 0 turns idle play off
INTERVAL  1 to 10 seconds
)";

struct SlotImage {
    int slot = 0;
    std::string file;
    PictureFormat format = PictureFormat::Png;
    Bytes bytes; // read by the load step
};

std::vector<SlotImage> parseSlotImages(const std::vector<std::string>& positional) {
    if (positional.size() % 2 != 0)
        throw UsageError("every SLOT needs its IMAGE");
    std::vector<SlotImage> images;
    std::set<int> seen;
    for (std::size_t i = 0; i < positional.size(); i += 2) {
        SlotImage image;
        image.slot = parseNumber(positional[i], "SLOT", kFirstPictureSlot, kLastPictureSlot);
        if (!seen.insert(image.slot).second)
            throw UsageError("slot " + positional[i] + " is given twice");
        image.file = positional[i + 1];
        const auto format = OpenFormatForFileName(image.file);
        if (!format)
            throw UsageError("IMAGE must end in .png, .PNG, .jpg, .JPG, .bmp or .BMP, not '" +
                             image.file + "'");
        image.format = *format;
        images.push_back(std::move(image));
    }
    return images;
}

CliAction sendPicture(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 2, 2 * kPictureSlotCount);
    auto images = std::make_shared<std::vector<SlotImage>>(parseSlotImages(parsed.positional));
    auto load = [images](CliContext& context) {
        for (SlotImage& image : *images) {
            try {
                image.bytes = FileToBytes(image.file);
                ProbePicture(image.bytes, image.format);
            } catch (const std::exception& error) {
                context.err << image.file << ": " << error.what() << '\n';
                return kExitFailed;
            }
        }
        return kExitOk;
    };
    auto send = [images](CliContext& context) {
        const int model = downloadModel(context);
        if (model < 0)
            return kExitFailed;
        const DisplayModel& row = *FindModel(model);
        std::vector<TSlotPicture> pictures;
        for (const SlotImage& image : *images)
            pictures.push_back({image.slot, image.file, image.format, &image.bytes, nullptr});
        TFilledSlots filled = PutPicturesInSlots(row, pictures);
        if (const auto& problem = filled.problem) {
            if (problem->noSuchSlot)
                context.err << "The " << row.name << " has no slot " << problem->slot << " ("
                            << problem->item << ").\n";
            else
                context.err << problem->file << ": " << problem->cause << '\n';
            return kExitFailed;
        }
        return RunTransferQueue(context, filled.sources(), static_cast<int>(images->size()),
                                [&](TTerminalOperator& op, TTransferRunner& runner) {
                                    return btn_DownloadPictrueClick(context.connection, op, &row,
                                                                    runner, *filled.slots,
                                                                    filled.checked);
                                });
    };
    return CliAction(load, send);
}

// "1,2,10" or "none" as the picture selection bits (bit k: picture k + 1).
std::uint16_t parsePictures(const std::string& text) {
    if (lowerCase(text) == "none")
        return 0;
    std::uint16_t bits = 0;
    std::istringstream list(text);
    std::string number;
    while (std::getline(list, number, ','))
        bits = static_cast<std::uint16_t>(bits |
                                          (1u << (parseDecimal(number, "PICTURES", 1, 10) - 1)));
    if (bits == 0 || text.back() == ',')
        throw UsageError("PICTURES must be picture numbers 1 to 10 separated by commas, or none");
    return bits;
}

CliAction playSetting(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 3, 3);
    const std::uint16_t pictures = parsePictures(parsed.positional[0]);
    const int standby = parseNumber(parsed.positional[1], "STANDBY", 0, 120);
    const int interval = parseNumber(parsed.positional[2], "INTERVAL", 1, 10);
    return [pictures, standby, interval](CliContext& context) {
        TTerminalOperator op(context.out, context.err);
        return SendPlaySetting(context.connection, op, pictures, standby, interval) ? kExitOk
                                                                                    : kExitFailed;
    };
}

constexpr std::string_view kConvertHelp =
    R"(usage: tavisto-cli convert IMAGE WIDTHxHEIGHT OUTPUT

Scales and crops a picture to exactly WIDTHxHEIGHT pixels as the image
conversion dialog does when OK is pressed right after opening: a larger
picture is scaled down until one side fits and its middle is kept; a smaller
one is stretched to the size. No display is needed.

IMAGE   a .png/.PNG, .jpg/.JPG or .bmp/.BMP file (extensions are compared
        exactly)
OUTPUT  .bin/.BIN raw RGB565 (two bytes per pixel, low byte first),
        .bmp/.BMP 24-bit BMP, or .jpg/.JPG JPEG of quality 90
)";

constexpr int kMaxTargetSide = 16384;

std::optional<int> parseSide(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > kMaxTargetSide)
        return std::nullopt;
    return value;
}

PictureSize parseSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x != std::string::npos) {
        const auto width = parseSide(text.substr(0, x));
        const auto height = parseSide(text.substr(x + 1));
        if (width && height)
            return PictureSize{*width, *height};
    }
    throw UsageError("'" + text + "' is not a size such as 800x480 (1 to " +
                     std::to_string(kMaxTargetSide) + " pixels a side)");
}

CliAction convert(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 3, 3);
    const std::string& input = parsed.positional[0];
    const std::string& output = parsed.positional[2];
    const std::optional<PictureFormat> format = OpenFormatForFileName(input);
    if (!format)
        throw UsageError("IMAGE must end in .png, .PNG, .jpg, .JPG, .bmp or .BMP, not '" + input +
                         "'");
    const PictureSize target = parseSize(parsed.positional[1]);
    if (!SaveFormatForFileName(output))
        throw UsageError("OUTPUT must end in .bin, .BIN, .bmp, .BMP, .jpg or .JPG, not '" + output +
                         "'");
    return [input, format, target, output](CliContext& context) {
        try {
            SaveResult(ConvertFileCentred(input, *format, target), output);
        } catch (const std::exception& e) {
            context.err << e.what() << '\n';
            return kExitFailed;
        }
        context.out << "Wrote " << output << " (" << target.width << "*" << target.height << ")\n";
        return kExitOk;
    };
}

} // namespace

std::vector<CliCommand> PicturesCommands() {
    return {
        {"show-picture", "show a stored picture (1 to 10)", kShowPictureHelp, CliNeeds::Display,
         showPicture},
        {"picture-selection", "choose the pictures of idle play", kPictureSelectionHelp,
         CliNeeds::Display, pictureSelection},
        {"standby", "set the wait before idle play", kStandbyHelp, CliNeeds::Display, standby},
        {"interval", "set the time per picture in idle play", kIntervalHelp, CliNeeds::Display,
         interval},
        {"send-picture", "put pictures into picture slots and send them", kSendPictureHelp,
         CliNeeds::Display, sendPicture},
        {"play-setting", "set the pictures, standby time and interval of idle play",
         kPlaySettingHelp, CliNeeds::Display, playSetting},
        {"convert", "scale and crop a picture to a slot size and save it", kConvertHelp,
         CliNeeds::Nothing, convert},
    };
}

} // namespace tavisto::cli
