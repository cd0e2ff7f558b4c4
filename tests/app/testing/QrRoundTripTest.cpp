#include "app/testing/DisplayTesting.h"
#include "app/testing/QrPicture.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>
#include <vector>

namespace tavisto::testing {
namespace {

// The packed bits as an 8-bit grey picture: set bits black.
std::vector<std::uint8_t> Luminance(const Bytes& bits) {
    std::vector<std::uint8_t> grey;
    for (const char byte : bits)
        for (int bit = 7; bit >= 0; --bit)
            grey.push_back((static_cast<unsigned char>(byte) >> bit) & 1 ? 0 : 255);
    return grey;
}

std::string Decoded(const Bytes& bits) {
    const std::vector<std::uint8_t> grey = Luminance(bits);
    const ZXing::ImageView image(grey.data(), kQrPictureSide, kQrPictureSide,
                                 ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    const ZXing::Result result = ZXing::ReadBarcode(image, hints);
    if (!result.isValid())
        return "(no QR code found)";
    const auto& bytes = result.bytes();
    return std::string(bytes.begin(), bytes.end());
}

TEST(QrPictureOfText, ScansBackToTheTextBytes) {
    const std::vector<std::string> texts = {
        "1234567890ABCDEFGHIJ",
        "Gr\xC3\xBC\xC3\x9F"
        "e \xE4\xBA\x8C\xE7\xBB\xB4\xE7\xA0\x81", // Grüße 二维码
        "https://example.org/receipt?id=" + std::string(250, '7') + "&sum=12.50",
        "x",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const TQrPicture picture = QrPictureOfText(text);
        ASSERT_TRUE(picture.ready()) << picture.error;
        ASSERT_EQ(picture.bits.size(), 4608u);
        EXPECT_EQ(Decoded(picture.bits), text);
    }
}

TEST(QrPictureOfText, WholePixelModulesCentredInsideTheQuietZone) {
    std::string error;
    const Bitmap code = QrCodeBitmap("1234567890ABCDEFGHIJ", kQrPictureSide, error);
    ASSERT_TRUE(error.empty());
    int top = -1, left = kQrPictureSide, right = -1, bottom = -1;
    for (int y = 0; y < kQrPictureSide; ++y)
        for (int x = 0; x < kQrPictureSide; ++x)
            if (code.pixel(x, y) == Rgb{}) {
                top = top < 0 ? y : top;
                bottom = y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
    // The top-left finder pattern's first row is seven dark modules.
    int run = 0;
    while (code.pixel(left + run, top) == Rgb{})
        ++run;
    ASSERT_EQ(run % 7, 0);
    const int module = run / 7;
    EXPECT_GE(module, 2);
    EXPECT_EQ((right - left + 1) % module, 0);
    EXPECT_EQ(right - left, bottom - top);
    EXPECT_GE(left, 4 * module);
    EXPECT_GE(top, 4 * module);
    EXPECT_LE(std::abs(left - (kQrPictureSide - 1 - right)), 1);
    EXPECT_LE(std::abs(top - (kQrPictureSide - 1 - bottom)), 1);
}

} // namespace
} // namespace tavisto::testing
