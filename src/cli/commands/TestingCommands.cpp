#include "app/testing/DisplayTesting.h"
#include "app/testing/QrText.h"
#include "cli/shell/Arguments.h"
#include "cli/shell/CommandTable.h"
#include "cli/commands/ConnectedModel.h"
#include "cli/shell/TerminalOperator.h"
#include "protocol/Session.h"
#include "settings/CodePage.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

namespace tavisto::cli {
namespace {

constexpr std::string_view kClearHelp = R"(usage: tavisto-cli [OPTIONS] clear

Clears the display's screen (sends 0C).
)";

constexpr std::string_view kTextHelp =
    R"(usage: tavisto-cli [OPTIONS] text TEXT [--at COLUMN ROW] [--codepage NAME]

Shows TEXT on the display, at the cursor or, with --at, from COLUMN (1 to 20)
in ROW (1 to 4). The text is converted to the code page NAME (default CP437;
see "codepage --help" for the names); only its first 40 bytes are sent.
)";

constexpr std::string_view kRawHelp = R"(usage: tavisto-cli [OPTIONS] raw HEX...

Sends the bytes as given, written in hex with two digits per byte; spaces and
colons between bytes are allowed, and several arguments are joined:
  tavisto-cli raw 0B 41 42 43
)";

constexpr std::string_view kSampleHelp = R"(usage: tavisto-cli [OPTIONS] sample CODE

Shows the 32 characters from CODE on in two rows of 20, as the sample buttons
of the window do: CODE 20, 40 or 60 for the international character set, 80,
A0, C0 or E0 for the upper half of the code page (hex, any case, "0x" allowed).
The 41 bytes are sent unchanged, whatever the code page.
)";

CliAction clear(const std::vector<std::string>& args) {
    parseArgs(args, {}, 0, 0);
    return sendAction([](TConnection& c, std::string& m) { return VfdClearDisplay(c, 0, m); });
}

CliAction text(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--at", 2}, {"--codepage", 1}}, 1, 1);
    const int codePage =
        parsed.has("--codepage") ? parseCodePageName(parsed.options.at("--codepage")[0]) : 437;
    const Bytes bytes = TextToCodePage(utf8Text(parsed.positional[0]), codePage);
    if (!parsed.has("--at"))
        return sendAction(
            [bytes](TConnection& c, std::string& m) { return VfdSendText(c, bytes, m); });
    const auto& at = parsed.options.at("--at");
    const int column = parseNumber(at[0], "COLUMN", 1, 20);
    const int row = parseNumber(at[1], "ROW", 1, 4);
    return sendAction(
        [=](TConnection& c, std::string& m) { return VfdSendTextAt(c, column, row, bytes, m); });
}

CliAction raw(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, SIZE_MAX);
    Bytes bytes;
    for (const auto& part : parsed.positional)
        bytes += parseHexBytes(part);
    return sendAction([bytes](TConnection& c, std::string& m) { return VfdSendRaw(c, bytes, m); });
}

CliAction sample(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {}, 1, 1);
    std::string code = lowerCase(parsed.positional[0]);
    if (code.starts_with("0x"))
        code.erase(0, 2);
    static constexpr std::string_view kCodes[] = {"20", "40", "60", "80", "a0", "c0", "e0"};
    if (std::find(std::begin(kCodes), std::end(kCodes), code) == std::end(kCodes))
        throw UsageError("invalid CODE: " + parsed.positional[0] +
                         " (one of 20, 40, 60, 80, A0, C0, E0)");
    const Bytes frame = CodePageSampleFrame(std::stoi(code, nullptr, 16));
    return sendAction([frame](TConnection& c, std::string& m) { return VfdSendRaw(c, frame, m); });
}

constexpr std::string_view kQrHelp =
    R"(usage: tavisto-cli [OPTIONS] qr TEXT [--align left|center|right]

Shows a QR code of TEXT (default alignment center). KT350--MKB, KT350-MKD,
KT350-MK and KT750-MK draw it themselves from the text, which is sent in
ISO-8859-1. KT350--MKA, KT350-MKC and KT750--MK take it as a picture: a
192 x 192 QR code of the UTF-8 text is sent at 115200 baud, and the display is
set back to its speed afterwards. Without a scan (--baud) the display is asked
for its model first.

TEXT is 1 to 250 bytes of UTF-8 on every model; the models that draw QR codes
themselves take only the characters of ISO-8859-1. Other texts are refused
before anything is sent.
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
when the scan identified them. The text is sent in ISO-8859-1: 1 to 250 bytes
of UTF-8, characters of ISO-8859-1 only; other texts are refused before
anything is sent.
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

int alignment(const ParsedArgs& parsed) {
    return parsed.has("--align") ? parseAlign(parsed.options.at("--align")[0]) : 2;
}

// A text no display can show as a QR code is a wrong command line: refused before
// the port is opened, on every model alike.
std::string qrText(const std::string& text) {
    if (const std::string problem = QrTextProblem(text); !problem.empty())
        throw UsageError(problem);
    return text;
}

CliAction qr(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, {{"--align", 1}}, 1, 1);
    const int align = alignment(parsed);
    const std::string text = qrText(parsed.positional[0]);
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
    const std::string text = qrText(parsed.positional[1]);
    return [align, picture, text](CliContext& context) {
        // Refused on a model the scan found unable to draw QR codes; without a scan
        // (--baud) the display is not known and the command is sent.
        if (ModelTakesQrPictures(FindModel(context.model)))
            return refuseModel(context, context.model, "draw a QR code over a picture");
        std::string message;
        const std::optional<Bytes> bytes = QrTextHostBytes(text, message);
        if (!bytes) {
            context.err << message << '\n';
            return kExitFailed;
        }
        const bool ok = LcdShowQrCodeAt(context.connection, align, picture, *bytes, message);
        return reportOutcome(context, ok, message);
    };
}

} // namespace

std::vector<CliCommand> TestingCommands() {
    return {
        {"clear", "clear the screen", kClearHelp, CliNeeds::Display, clear},
        {"text", "show a text, optionally at a column and row", kTextHelp, CliNeeds::Display, text},
        {"raw", "send bytes given in hex", kRawHelp, CliNeeds::Display, raw},
        {"sample", "show a row of character samples from 20, 40, ... E0", kSampleHelp,
         CliNeeds::Display, sample},
        {"qr", "show a QR code of a text", kQrHelp, CliNeeds::Display, qr},
        {"qr-image", "send a picture as the QR code", kQrImageHelp, CliNeeds::Display, qrImage},
        {"qr-at", "show a QR code over a stored picture", kQrAtHelp, CliNeeds::Display, qrAt},
    };
}

} // namespace tavisto::cli
