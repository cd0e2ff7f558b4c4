#include "app/testing/DisplayTesting.h"
#include "cli/Arguments.h"
#include "cli/CommandTable.h"
#include "cli/ConnectedModel.h"
#include "cli/TerminalOperator.h"
#include "protocol/Session.h"
#include "settings/HostCodePage.h"

#include <memory>

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

constexpr std::string_view kQrHelp =
    R"(usage: tavisto-cli [OPTIONS] qr TEXT [--align left|center|right]

Shows a QR code of TEXT (default alignment center). KT350--MKB, KT350-MKD,
KT350-MK and KT750-MK draw it themselves from the text, which is sent in
ISO-8859-1. KT350--MKA, KT350-MKC and KT750--MK take it as a picture: a
192 x 192 QR code of the UTF-8 text is sent at 115200 baud, and the display is
set back to its speed afterwards. Without a scan (--baud) the display is asked
for its model first.
)";

constexpr std::string_view kQrImageHelp =
    R"(usage: tavisto-cli [OPTIONS] qr-image FILE [--align left|center|right]

Sends the picture FILE (.png, .jpg, .jpeg or .bmp) as the QR code of
KT350--MKA, KT350-MKC and KT750--MK: stretched to 192 x 192 and reduced to
black and white, at 115200 baud; the display is set back to its speed
afterwards. The file is read before the port is opened. The other models draw
QR codes themselves (see qr) and are refused.
)";

constexpr std::string_view kQrAtHelp =
    R"(usage: tavisto-cli [OPTIONS] qr-at PICTURE TEXT [--align left|center|right]

Has the display draw a QR code of TEXT over stored picture PICTURE (1 to 10).
Only KT350--MKB, KT350-MKD, KT350-MK and KT750-MK can; the others are refused
when the scan identified them. The text is sent in ISO-8859-1.
)";

int refuseModel(CliContext& context, int model, const char* what) {
    context.err << FindModel(model)->name << " cannot " << what << '\n';
    return kExitFailed;
}

// The outcome of a QR workflow: the failures it showed itself are on the error stream
// already; a session that did not open is reported here.
int qrOutcome(CliContext& context, bool ok, const std::string& openError) {
    if (ok || !openError.empty())
        return reportOutcome(context, ok, ok ? "OK" : openError);
    return kExitFailed;
}

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

int alignment(const ParsedArgs& parsed) {
    return parsed.has("--align") ? parseAlign(parsed.options.at("--align")[0]) : 2;
}

CliAction qr(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--align", 1}}, 1, 1);
    const int align = alignment(parsed);
    const std::string text = parsed.positional[0];
    return [align, text](CliContext& context) {
        const int model = connectedModel(context);
        if (model < 0)
            return kExitFailed;
        TTerminalOperator op(context.out, context.err);
        std::string openError;
        const bool ok =
            ShowQrCodeOfText(context.connection, op, FindModel(model), align, text, openError);
        return qrOutcome(context, ok, openError);
    };
}

// Why a picture file gives no QR picture, for the terminal.
std::string pictureFileError(const std::string& file, const TQrPicture& picture) {
    if (!picture.error.empty())
        return picture.error;
    if (picture.code == 21)
        return "The picture \"" + file + "\" does not exist.";
    return "\"" + file + "\" is not a picture: its name must end in .png, .jpg, .jpeg or .bmp.";
}

CliAction qrImage(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--align", 1}}, 1, 1);
    const int align = alignment(parsed);
    const std::string file = parsed.positional[0];
    auto picture = std::make_shared<TQrPicture>();
    auto load = [file, picture](CliContext& context) {
        *picture = QrPictureOfFile(file);
        if (picture->ready())
            return kExitOk;
        context.err << pictureFileError(file, *picture) << '\n';
        return kExitFailed;
    };
    auto send = [align, picture](CliContext& context) {
        const int model = connectedModel(context);
        if (model < 0)
            return kExitFailed;
        if (!ModelTakesQrPictures(FindModel(model)))
            return refuseModel(context, model, "take a QR code as a picture; it draws them itself");
        TTerminalOperator op(context.out, context.err);
        std::string openError;
        const bool ok = ShowQrPicture(
            context.connection, op, align, [picture] { return *picture; }, openError);
        return qrOutcome(context, ok, openError);
    };
    return CliAction(load, send);
}

CliAction qrAt(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--align", 1}}, 2, 2);
    const int picture = parseNumber(parsed.positional[0], "PICTURE", 1, 10);
    const int align = alignment(parsed);
    const Bytes text = TextToHostBytes(parsed.positional[1]);
    return [align, picture, text](CliContext& context) {
        // Refused on a model the scan found unable to draw QR codes; without a scan
        // (--baud) the display is not known and the command is sent.
        if (ModelTakesQrPictures(FindModel(context.model)))
            return refuseModel(context, context.model, "draw a QR code over a picture");
        std::string message;
        const bool ok = LcdShowQrCodeAt(context.connection, align, picture, text, message);
        return reportOutcome(context, ok, message);
    };
}

} // namespace

std::vector<CliCommand> PictureCommands() {
    return {
        {"show-picture", "show a stored picture (1 to 10)", kShowPictureHelp, CliNeeds::Display,
         showPicture},
        {"picture-selection", "choose the pictures of idle play", kPictureSelectionHelp,
         CliNeeds::Display, pictureSelection},
        {"standby", "set the wait before idle play", kStandbyHelp, CliNeeds::Display, standby},
        {"interval", "set the time per picture in idle play", kIntervalHelp, CliNeeds::Display,
         interval},
        {"qr", "show a QR code of a text", kQrHelp, CliNeeds::Display, qr},
        {"qr-image", "send a picture as the QR code", kQrImageHelp, CliNeeds::Display, qrImage},
        {"qr-at", "show a QR code over a stored picture", kQrAtHelp, CliNeeds::Display, qrAt},
    };
}

} // namespace tavisto::cli
