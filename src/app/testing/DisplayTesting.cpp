#include "app/testing/DisplayTesting.h"

#include "app/testing/QrPicture.h"
#include "app/testing/QrText.h"
#include "files/Utf8Path.h"
#include "pictures/MonoBits.h"
#include "pictures/PictureError.h"
#include "protocol/DisplayCommands.h"
#include "protocol/LinkControl.h"
#include "protocol/ModelTable.h"
#include "settings/CodePage.h"
#include "settings/Vocabulary.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>

namespace tavisto {
namespace {

constexpr int kTestFieldWidth = 20;
constexpr int kQrLinkBaudRate = 115200;
constexpr TLinkPauses kQrLinkSwitch{Millis(500), Millis(100)};
// Only the display is switched back: the session closes right after.
constexpr TLinkPauses kQrLinkReturn{Millis(300), std::nullopt};
constexpr int kQrMissingFile = 21;
constexpr int kQrNoPicture = 19;

bool showFailure(TOperator& op, bool ok, const std::string& message) {
    return ok || ShowError(op, message);
}

// UTF-16 units of a UTF-8 text: characters beyond U+FFFF take two.
int utf16Length(const std::string& text) {
    int units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            ++units; // a lead byte or a single-byte character
        if (byte >= 0xF0)
            ++units; // a four-byte sequence
    }
    return units;
}

// The serial layer's text of a failed write ("1: 5", "3: 110": the step and the
// system's error number) with the error number put in words.
std::string writeFailureText(const std::string& message) {
    const std::size_t colon = message.find(": ");
    if (colon == std::string::npos)
        return message;
    int error = 0;
    const char* digits = message.data() + colon + 2;
    const char* end = message.data() + message.size();
    const auto [stop, status] = std::from_chars(digits, end, error);
    if (status != std::errc() || stop != end || error <= 0)
        return message;
    return message + " (" + std::strerror(error) + ")";
}

// The line under "Error：" and the code: what the picture path could not do.
std::string qrResultCause(int code, const std::string& writeMessage) {
    switch (code) {
    case kQrMissingFile:
        return "The picture file does not exist.";
    case kQrNoPicture:
        return "The file is not a picture this program reads (.png, .jpg, .jpeg, .bmp).";
    case kQrNoSession:
        return "The serial port was not open.";
    case kQrHeaderFailed:
        return "The start of the QR picture could not be written to the port: " +
               writeFailureText(writeMessage);
    case kQrPieceFailed:
        return "Part of the QR picture could not be written to the port: " +
               writeFailureText(writeMessage);
    case kQrEndFailed:
        return "The end of the QR picture could not be written to the port: " +
               writeFailureText(writeMessage);
    default:
        return {};
    }
}

} // namespace

bool btn_TextSendClick(TConnection& c, TOperator& op, const TTestText& test) {
    const auto row = static_cast<std::size_t>(test.codePageIndex);
    const int codePage =
        row < CodePages.size() ? CodePages[row].CodePageName : CodePages.front().CodePageName;
    const Bytes bytes = TextToCodePage(test.text, codePage);
    std::string message;
    const bool ok = test.positionAt ? VfdSendTextAt(c, test.column, test.row, bytes, message)
                                    : VfdSendText(c, bytes, message);
    return showFailure(op, ok, message);
}

bool btn_ClearDisplayClick(TConnection& c, TOperator& op) {
    std::string message;
    return showFailure(op, VfdClearDisplay(c, 0, message), message);
}

std::string CentredTestText(const std::string& text) {
    const int length = utf16Length(text);
    if (length >= kTestFieldWidth)
        return text;
    const int before = (kTestFieldWidth - length) / 2;
    const int after = kTestFieldWidth - length - before;
    return std::string(static_cast<std::size_t>(before), ' ') + text +
           std::string(static_cast<std::size_t>(after), ' ');
}

std::optional<int> SampleFirstCode(int tag) {
    switch (tag) {
    case 101:
        return 0x20;
    case 102:
        return 0x40;
    case 103:
        return 0x60;
    case 201:
        return 0x80;
    case 202:
        return 0xA0;
    case 203:
        return 0xC0;
    case 204:
        return 0xE0;
    default:
        return std::nullopt;
    }
}

Bytes CodePageSampleFrame(int first) {
    Bytes frame(1, '\x0B');
    for (int run = 0; run < 2; ++run) {
        for (int i = 0; i < 16; ++i)
            frame.push_back(static_cast<char>(first + run * 16 + i));
        frame += "    ";
    }
    return frame;
}

bool actCodePageTestExecute(TConnection& c, TOperator& op, int tag) {
    const std::optional<int> first = SampleFirstCode(tag);
    if (!first)
        return false;
    std::string message;
    return showFailure(op, VfdSendRaw(c, CodePageSampleFrame(*first), message), message);
}

TQrPicture QrPictureOfFile(const std::string& fileName) {
    TQrPicture picture;
    std::error_code ignored;
    if (fileName.empty() || !std::filesystem::exists(PathFromUtf8(fileName), ignored)) {
        picture.code = kQrMissingFile;
        return picture;
    }
    try {
        picture.bits = PictureToMonoBits(fileName, kQrPictureSide, kQrPictureSide);
        if (picture.bits.empty())
            picture.code = kQrNoPicture;
    } catch (const std::exception& error) {
        // A file that cannot be read or decoded: its own message says why.
        picture.error = error.what();
    }
    return picture;
}

TQrPicture QrPictureOfText(const std::string& text) {
    TQrPicture picture;
    const Bitmap bitmap = QrCodeBitmap(text, kQrPictureSide, picture.error);
    if (picture.error.empty())
        picture.bits = BitmapToMonoBits(bitmap);
    return picture;
}

bool ShowQrPicture(TConnection& c, TOperator& op, int align,
                   const std::function<TQrPicture()>& make, std::string& openError) {
    std::string message;
    if (!EnsureSession(c, message)) {
        openError = message;
        return false;
    }
    // The link switches are not judged; the picture's result is.
    SwitchLinkSpeed(c, kQrLinkBaudRate, kQrLinkSwitch);

    TQrPicture picture;
    try {
        picture = make();
    } catch (const std::exception& error) {
        picture.error = error.what();
    }
    std::string writeMessage;
    const int code =
        picture.ready() ? LcdSendQrImage(c, picture.bits, align, 0, writeMessage) : picture.code;

    // Set back on every outcome, so the display never stays at 115200.
    RestoreLink(c, kQrLinkReturn);

    if (!picture.error.empty())
        return ShowError(op, picture.error);
    if (code != 0) {
        const std::string cause = qrResultCause(code, writeMessage);
        return ShowError(op, "Error\xEF\xBC\x9A" + std::to_string(code) +
                                 (cause.empty() ? "" : "\n" + cause));
    }
    return true;
}

bool ShowQrCodeOfText(TConnection& c, TOperator& op, const DisplayModel* model, int align,
                      const std::string& text, std::string& openError) {
    if (ModelHasQrCodeAt(model)) {
        std::string message;
        const std::optional<Bytes> bytes = QrTextHostBytes(text, message);
        if (!bytes)
            return ShowError(op, message);
        return showFailure(op, LcdShowQrCode(c, align, *bytes, message), message);
    }
    if (!ModelTakesQrPictures(model))
        return false;
    if (const std::string problem = QrTextProblem(text); !problem.empty())
        return ShowError(op, problem);
    TQrPicture picture = QrPictureOfText(text);
    if (!picture.ready())
        return showFailure(op, false, picture.error);
    return ShowQrPicture(
        c, op, align, [&picture] { return std::move(picture); }, openError);
}

bool btn_ShowQrCodeAtClick(TConnection& c, TOperator& op, const DisplayModel* model, int align,
                           int picture, const std::string& text) {
    if (!ModelHasQrCodeAt(model))
        return false;
    std::string message;
    const std::optional<Bytes> bytes = QrTextHostBytes(text, message);
    if (!bytes)
        return ShowError(op, message);
    return showFailure(op, LcdShowQrCodeAt(c, align, picture, *bytes, message), message);
}

} // namespace tavisto
