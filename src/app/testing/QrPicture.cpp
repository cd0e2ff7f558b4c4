#include "app/testing/QrPicture.h"

#include <cerrno>
#include <memory>
#include <qrencode.h>

namespace tavisto {
namespace {

constexpr int kQuietZone = 4; // modules of white around the code

struct QrCodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

} // namespace

Bitmap QrCodeBitmap(const std::string& text, int side, std::string& error) {
    if (text.empty()) {
        error = "There is no text to make a QR code of.";
        return {};
    }
    errno = 0;
    const std::unique_ptr<QRcode, QrCodeFree> code(
        QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
    const int modules = code ? code->width + 2 * kQuietZone : 0;
    if (!code || modules > side) {
        error = code || errno == ERANGE ? "The text is too long for a QR code."
                                        : "The QR code of the text cannot be made.";
        return {};
    }
    const int scale = side / modules;
    const int origin = (side - modules * scale) / 2 + kQuietZone * scale;
    Bitmap picture(side, side, kWhite);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // Bit 0 of a module's byte says whether it is dark.
            if ((code->data[y * code->width + x] & 1) == 0)
                continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    picture.setPixel(origin + x * scale + dx, origin + y * scale + dy, Rgb{});
        }
    }
    return picture;
}

} // namespace tavisto
