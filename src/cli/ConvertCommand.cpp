#include "cli/ConvertCommand.h"

#include "pictures/ByteFiles.h"
#include "pictures/PictureConvert.h"
#include "pictures/PictureError.h"

#include <charconv>
#include <exception>
#include <optional>
#include <ostream>

namespace tavisto {

const char* const kConvertHelp =
    "Usage: tavisto-cli convert IMAGE WIDTHxHEIGHT OUTPUT\n"
    "\n"
    "Scales and crops a picture to exactly WIDTHxHEIGHT pixels as the image conversion\n"
    "dialog does when OK is pressed right after opening: a larger picture is scaled down\n"
    "until one side fits and its middle is kept; a smaller one is stretched to the size.\n"
    "\n"
    "IMAGE   a .png/.PNG, .jpg/.JPG or .bmp/.BMP file (extensions are compared exactly)\n"
    "OUTPUT  .bin/.BIN raw RGB565 (two bytes per pixel, low byte first),\n"
    "        .bmp/.BMP 24-bit BMP, or .jpg/.JPG JPEG of quality 90\n"
    "\n"
    "Exit status: 0 done, 1 the picture cannot be read or the output not written,\n"
    "2 wrong arguments.\n";

namespace {

constexpr int kMaxTargetSide = 16384;

std::optional<int> parseSide(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > kMaxTargetSide)
        return std::nullopt;
    return value;
}

std::optional<PictureSize> parseSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = parseSide(text.substr(0, x));
    const auto height = parseSide(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return PictureSize{*width, *height};
}

int usageError(std::ostream& err, const std::string& message) {
    err << "tavisto-cli convert: " << message << "\n\n" << kConvertHelp;
    return 2;
}

} // namespace

int runConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        out << kConvertHelp;
        return 0;
    }
    if (args.size() != 3)
        return usageError(err, "expected IMAGE WIDTHxHEIGHT OUTPUT.");
    const std::string& input = args[0];
    const std::string& output = args[2];
    const std::optional<PictureFormat> format = OpenFormatForFileName(input);
    if (!format)
        return usageError(err, "\"" + input +
                                   "\" does not end in .png, .PNG, .jpg, .JPG, .bmp or .BMP.");
    const std::optional<PictureSize> target = parseSize(args[1]);
    if (!target)
        return usageError(err, "\"" + args[1] + "\" is not a size such as 800x480 (1 to " +
                                   std::to_string(kMaxTargetSide) + " pixels a side).");
    if (!SaveFormatForFileName(output))
        return usageError(err, "\"" + output +
                                   "\" does not end in .bin, .BIN, .bmp, .BMP, .jpg or .JPG.");
    try {
        const Bitmap result = ConvertFileCentred(input, *format, *target);
        SaveResult(result, output);
    } catch (const std::exception& e) {
        err << "tavisto-cli convert: " << e.what() << "\n";
        return 1;
    }
    out << "Wrote " << output << " (" << target->width << "*" << target->height << ")\n";
    return 0;
}

} // namespace tavisto
