#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "pictures/ByteFiles.h"
#include "pictures/PictureConvert.h"

#include <charconv>
#include <exception>
#include <optional>

namespace tavisto::cli {
namespace {

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

std::vector<CliCommand> ConvertCommands() {
    return {
        {"convert", "scale and crop a picture to a slot size and save it", kConvertHelp,
         CliNeeds::Nothing, convert},
    };
}

} // namespace tavisto::cli
