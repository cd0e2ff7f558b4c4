#pragma once

#include "app/Operator.h"
#include "link/Bytes.h"
#include "link/Connection.h"
#include "protocol/ModelTable.h"

#include <functional>
#include <optional>
#include <string>

namespace tavisto {

// The "Display Testing" tab without its widgets: test text, clearing, code-page
// samples and QR codes, shared by the window and the command line. Failures are shown
// through the operator in an error box.

// ---- Test text ----------------------------------------------------------------------

struct TTestText {
    std::string text;        // UTF-8
    int codePageIndex = 0;   // row of the code page table whose conversion is used
    bool positionAt = false; // start at column and row instead of at the cursor
    int column = 1;          // 1..20
    int row = 1;             // 1..4
};

// "Display Text": the text converted to the chosen code page, at most its first 40
// bytes, at the cursor or at the position. Returns false after showing the failure.
bool btn_TextSendClick(TConnection& c, TOperator& op, const TTestText& test);

// "Clear Display".
bool btn_ClearDisplayClick(TConnection& c, TOperator& op);

// "Center": the text in a field of 20 characters (counted in UTF-16 units), the odd
// space on the right; a text of 20 or more is kept as it is.
std::string CentredTestText(const std::string& text);

// The text that reveals the service tabs, typed exactly.
inline constexpr const char* kServiceCode = "3920571";

// ---- Code-page samples ----------------------------------------------------------------

// The first code of a sample button's tag (101..103, 201..204), or nothing.
std::optional<int> SampleFirstCode(int tag);

// 0B, the sixteen codes from `first`, four spaces, the next sixteen codes, four spaces:
// two runs of 20 characters, 41 bytes.
Bytes CodePageSampleFrame(int first);

// A sample button: sends the frame of its tag unchanged; an unknown tag sends nothing.
bool actCodePageTestExecute(TConnection& c, TOperator& op, int tag);

// ---- QR codes -------------------------------------------------------------------------

// Alignment bytes of the QR commands.
inline constexpr int kQrAlignLeft = 1;
inline constexpr int kQrAlignCenter = 2;
inline constexpr int kQrAlignRight = 3;

// A QR picture ready to send, or why there is none: `code` a result code of the
// picture path (21 missing file, 19 no picture) or `error` an operator text.
struct TQrPicture {
    Bytes bits; // kQrPictureSide x kQrPictureSide, packed as PictureToMonoBits packs
    int code = 0;
    std::string error;
    bool ready() const { return code == 0 && error.empty(); }
};

// The picture file as QR picture bits.
TQrPicture QrPictureOfFile(const std::string& fileName);
// A QR picture made from the text.
TQrPicture QrPictureOfText(const std::string& text);

// The picture path: opens the session, switches the display and the port to 115200,
// sends the picture `make` gives, sets the display back to the connection's speed and
// closes the session, whatever happened between. Then shows "Error：" and the result
// code, or the picture's error text. A session that cannot be opened ends it before
// anything is sent, without a box, with `openError` set for the caller to report.
// Returns true when the picture was sent.
bool ShowQrPicture(TConnection& c, TOperator& op, int align,
                   const std::function<TQrPicture()>& make, std::string& openError);

// "Show QrCode" of a text, chosen by the model: the display's own QR command (the text
// in the host code page) on models that encode QR codes, a picture made from the text
// on the others, nothing without a model (nullptr). A text no model could take
// (QrTextProblem), or one the model cannot take, is shown as an error before anything
// is sent.
bool ShowQrCodeOfText(TConnection& c, TOperator& op, const DisplayModel* model, int align,
                      const std::string& text, std::string& openError);

// "Show QrCode At": the QR code of the text drawn over stored picture 1..10; only on
// models that encode QR codes (nothing is sent or shown on the others). The text is
// checked as for "Show QrCode".
bool btn_ShowQrCodeAtClick(TConnection& c, TOperator& op, const DisplayModel* model, int align,
                           int picture, const std::string& text);

} // namespace tavisto
