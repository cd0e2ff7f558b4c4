#include "TestPictures.h"
#include "pictures/BmpCodec.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureError.h"
#include "pictures/PngCodec.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <zlib.h>

namespace tavisto {
namespace {

using testing::GradientBitmap;

void putBe32(Bytes& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

void putLe32(Bytes& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (8 * i));
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const PictureError& e) {
        return e.what();
    }
    return "no error";
}

// Every cut of a valid file that loses pixel data, from the empty file up to `end`
// (default: one byte short), must be refused with a PictureError and nothing worse.
void expectEveryTruncationRefused(const Bytes& file,
                                  const std::function<void(const Bytes&)>& decode,
                                  std::size_t end = std::string::npos) {
    end = std::min(end, file.size());
    const std::size_t step = std::max<std::size_t>(1, end / 97);
    for (std::size_t length = 0; length < end; length += step)
        EXPECT_THROW(decode(file.substr(0, length)), PictureError) << "cut at " << length;
}

// Garbage written over the middle of a valid file either decodes to something of the
// stated size or is refused; it never crashes (the sanitizer build checks the rest).
void expectGarbageSurvived(const Bytes& file, std::size_t from,
                           const std::function<Bitmap(const Bytes&)>& decode) {
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        Bytes damaged = file;
        for (int i = 0; i < 8; ++i) {
            const std::size_t at = from + random() % (file.size() - from);
            damaged[at] = static_cast<char>(random());
        }
        try {
            decode(damaged);
        } catch (const PictureError&) {
        }
    }
}

TEST(PngDecoder, ReadsColourAndLaysTransparencyOnWhite) {
    const Bitmap picture = GradientBitmap(31, 17);
    EXPECT_EQ(DecodePng(testing::PngFile(picture)), picture);
    EXPECT_EQ(ProbePng(testing::PngFile(picture)), (PictureSize{31, 17}));
    const Bitmap clear = DecodePng(testing::PngFileWithAlpha(Bitmap(4, 4, Rgb{0, 0, 0}), 0));
    EXPECT_EQ(clear.pixel(2, 2), (Rgb{255, 255, 255}));
    const Bitmap opaque = DecodePng(testing::PngFileWithAlpha(Bitmap(4, 4, Rgb{9, 8, 7}), 255));
    EXPECT_EQ(opaque.pixel(2, 2), (Rgb{9, 8, 7}));
}

TEST(PngDecoder, RefusesDamagedFiles) {
    const Bytes png = testing::PngFile(GradientBitmap(40, 30));
    // A file cut inside the closing IEND chunk still has every pixel and may decode.
    const std::size_t iend = png.rfind("IEND") - 4;
    expectEveryTruncationRefused(
        png, [](const Bytes& b) { DecodePng(b); }, iend);
    Bytes badCrc = png;
    badCrc[29] = static_cast<char>(badCrc[29] ^ 0x01); // the IHDR checksum
    EXPECT_THROW(DecodePng(badCrc), PictureError);
    EXPECT_THROW(DecodePng("not a picture at all"), PictureError);
    expectGarbageSurvived(png, 33, [](const Bytes& b) { return DecodePng(b); });
}

TEST(JpegDecoder, DecodesAtFullAndReducedSizes) {
    const Bitmap picture = GradientBitmap(203, 101);
    const Bytes jpeg = BitmapToJpeg(picture);
    EXPECT_EQ(ProbeJpeg(jpeg), (PictureSize{203, 101}));
    for (int d : {1, 2, 4, 8}) {
        const Bitmap reduced = DecodeJpeg(jpeg, d);
        EXPECT_EQ(reduced.width(), (203 + d - 1) / d);
        EXPECT_EQ(reduced.height(), (101 + d - 1) / d);
        // The bottom right corner stays yellow-ish (red and green high, blue low).
        const Rgb corner = reduced.pixel(reduced.width() - 1, reduced.height() - 1);
        EXPECT_GT(corner.r, 200);
        EXPECT_GT(corner.g, 200);
        EXPECT_LT(corner.b, 100);
    }
}

TEST(JpegDecoder, RefusesDamagedFiles) {
    const Bytes jpeg = BitmapToJpeg(GradientBitmap(64, 64));
    expectEveryTruncationRefused(jpeg, [](const Bytes& b) { DecodeJpeg(b); });
    EXPECT_NE(errorOf([&] { DecodeJpeg(jpeg.substr(0, jpeg.size() / 2)); }).find("truncated"),
              std::string::npos);
    Bytes noFrame = jpeg;
    const std::size_t sof = noFrame.find("\xFF\xC0");
    noFrame[sof + 1] = '\xCF'; // an unknown kind of frame
    EXPECT_THROW(DecodeJpeg(noFrame), PictureError);
    EXPECT_THROW(DecodeJpeg("\xFF\xD8\xFF\xD9"), PictureError);
    expectGarbageSurvived(jpeg, 2, [](const Bytes& b) { return DecodeJpeg(b); });
}

TEST(JpegDecoder, RefusesPictureDataThatEndsEarlyBeforeAProperEnd) {
    // A cut file closed with an end-of-picture marker (FF D9), as a broken download or
    // a careless tool leaves it: libjpeg alone paints the missing rows grey.
    const Bytes baseline = BitmapToJpeg(GradientBitmap(64, 64));
    const std::size_t sos = baseline.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    const std::string cut =
        errorOf([&] { DecodeJpeg(baseline.substr(0, (sos + baseline.size()) / 2) + "\xFF\xD9"); });
    EXPECT_EQ(cut, "The JPEG file cannot be read: its picture data ends before the picture is "
                   "complete.");
}

TEST(JpegDecoder, RefusesAProgressiveFileEndingBeforeAColourWasSent) {
    // A progressive file (SOF2): its scans follow one another, each starting with FF DA.
    // Keeping only the first scan leaves the components of the later ones unsent.
    const Bytes progressive = testing::ProgressiveJpegFile(GradientBitmap(48, 32));
    ASSERT_NE(progressive.find("\xFF\xC2"), std::string::npos);
    const std::size_t first = progressive.find("\xFF\xDA");
    const std::size_t second = progressive.find("\xFF\xDA", first + 2);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NO_THROW(DecodeJpeg(progressive));
    EXPECT_NE(errorOf([&] {
                  DecodeJpeg(progressive.substr(0, second) + "\xFF\xD9");
              }).find("ends before the picture is complete"),
              std::string::npos);
}

Bytes bmpHeader(int width, int height, int bits, std::uint32_t compression, std::size_t dataOffset,
                std::size_t dataBytes) {
    Bytes b(dataOffset + dataBytes, '\0');
    b[0] = 'B';
    b[1] = 'M';
    putLe32(b, 2, static_cast<std::uint32_t>(b.size()));
    putLe32(b, 10, static_cast<std::uint32_t>(dataOffset));
    putLe32(b, 14, 40);
    putLe32(b, 18, static_cast<std::uint32_t>(width));
    putLe32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<char>(bits);
    putLe32(b, 30, compression);
    return b;
}

TEST(BmpDecoder, ReadsTopDown32BitAndPalettedFiles) {
    // 2 x 2, 32 bits BGRx, top-down (negative height).
    Bytes top = bmpHeader(2, -2, 32, 0, 54, 16);
    const char pixels32[] = "\x00\x00\xFF\x00"
                            "\x00\xFF\x00\x00" // red, green
                            "\xFF\x00\x00\x00"
                            "\x10\x20\x30\x00"; // blue, (30,20,10)
    top.replace(54, 16, pixels32, 16);
    const Bitmap a = DecodeBmp(top);
    EXPECT_EQ(a.pixel(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(a.pixel(1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(a.pixel(0, 1), (Rgb{0, 0, 255}));
    EXPECT_EQ(a.pixel(1, 1), (Rgb{0x30, 0x20, 0x10}));

    // 3 x 2, 8 bits with a two-colour palette, bottom-up, rows padded to 4 bytes.
    Bytes paletted = bmpHeader(3, 2, 8, 0, 54 + 8, 8);
    putLe32(paletted, 46, 2); // colours used
    paletted.replace(54, 8, "\x00\x00\x00\x00\xFF\x80\x00\x00", 8);
    paletted.replace(62, 8,
                     "\x01\x00\x01\x00"
                     "\x00\x01\x05\x00",
                     8); // index 5: none
    const Bitmap b = DecodeBmp(paletted);
    EXPECT_EQ(b.pixel(0, 1), (Rgb{0, 0x80, 0xFF})); // stored first: the bottom row
    EXPECT_EQ(b.pixel(1, 1), (Rgb{0, 0, 0}));
    EXPECT_EQ(b.pixel(1, 0), (Rgb{0, 0x80, 0xFF}));
    EXPECT_EQ(b.pixel(2, 0), (Rgb{0, 0, 0})); // outside the palette: black, not a crash

    // 16 bits with 5-6-5 masks after the header.
    Bytes masked = bmpHeader(1, 1, 16, 3, 54 + 12, 4);
    putLe32(masked, 54, 0xF800);
    putLe32(masked, 58, 0x07E0);
    putLe32(masked, 62, 0x001F);
    masked.replace(66, 2, "\x00\xF8", 2);
    EXPECT_EQ(DecodeBmp(masked).pixel(0, 0), (Rgb{255, 0, 0}));
}

TEST(BmpDecoder, RefusesDamagedAndUnsupportedFiles) {
    const Bytes bmp = EncodeBmp(GradientBitmap(13, 7));
    expectEveryTruncationRefused(bmp, [](const Bytes& b) { DecodeBmp(b); });
    EXPECT_NE(errorOf([] { DecodeBmp(bmpHeader(4, 4, 8, 1, 54, 64)); }).find("compressed"),
              std::string::npos); // run-length coded
    EXPECT_THROW(DecodeBmp(bmpHeader(4, 4, 7, 0, 54, 64)), PictureError);
    EXPECT_THROW(DecodeBmp(bmpHeader(0, 4, 24, 0, 54, 64)), PictureError);
    Bytes farOffset = bmp;
    putLe32(farOffset, 10, 0xFFFFFFF0);
    EXPECT_THROW(DecodeBmp(farOffset), PictureError);
    // An offset into the 54 bytes of headers would draw the headers as pixels.
    Bytes overlapping = bmpHeader(2, 2, 24, 0, 54, 16);
    putLe32(overlapping, 10, 30);
    EXPECT_EQ(errorOf([&] { DecodeBmp(overlapping); }),
              "The BMP file cannot be read: the pixel data would start inside the header.");
    Bytes overMasks = bmpHeader(1, 1, 16, 3, 54 + 12, 4); // the masks follow the header
    putLe32(overMasks, 10, 54);
    EXPECT_THROW(DecodeBmp(overMasks), PictureError);
    Bytes badHeader = bmp;
    putLe32(badHeader, 14, 0x7FFFFFFF);
    EXPECT_THROW(DecodeBmp(badHeader), PictureError);
}

// An empty file, and a file that is no PNG at all, are told in the program's words.
TEST(Decoders, SayPlainlyThatAFileIsEmptyOrNoPng) {
    EXPECT_EQ(errorOf([] { DecodePng(""); }), "The PNG file is empty: it holds no picture.");
    EXPECT_EQ(errorOf([] { ProbePng(""); }), "The PNG file is empty: it holds no picture.");
    EXPECT_EQ(errorOf([] { ProbeJpeg(""); }), "The JPEG file is empty: it holds no picture.");
    EXPECT_EQ(errorOf([] { DecodeBmp(""); }), "The BMP file is empty: it holds no picture.");
    const std::string notPng = "The file is not a PNG picture: it does not begin as one does.";
    EXPECT_EQ(errorOf([] { DecodePng("\x89PN"); }), notPng);
    EXPECT_EQ(errorOf([] { DecodePng(EncodeBmp(Bitmap(2, 2))); }), notPng);
}

TEST(Decoders, RefusePicturesAbove100MegapixelsBeforeDecoding) {
    // Each file only claims 20000 x 10000 pixels in its header; the pixels are missing,
    // so a decoder that started decoding would report a truncated file instead.
    Bytes png = testing::PngFile(GradientBitmap(8, 8));
    putBe32(png, 16, 20000);
    putBe32(png, 20, 10000);
    putBe32(png, 29,
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(&png[12]), 17)));
    Bytes jpeg = BitmapToJpeg(GradientBitmap(8, 8));
    const std::size_t sof = jpeg.find("\xFF\xC0");
    jpeg.replace(sof + 5, 4, "\x27\x10\x4E\x20", 4); // height 10000, width 20000
    const Bytes bmp = bmpHeader(20000, 10000, 24, 0, 54, 0);

    for (const std::string& message :
         {errorOf([&] { DecodePng(png); }), errorOf([&] { ProbePng(png); }),
          errorOf([&] { DecodeJpeg(jpeg); }), errorOf([&] { DecodeJpeg(jpeg, 8); }),
          errorOf([&] { DecodeBmp(bmp); })})
        EXPECT_NE(message.find("too large (20000 x 10000 pixels)"), std::string::npos) << message;

    // Exactly 100 megapixels is still accepted as far as the size goes.
    EXPECT_NO_THROW(CheckPictureSize(10000, 10000, "PNG"));
    EXPECT_THROW(CheckPictureSize(10001, 10000, "PNG"), PictureError);
}

} // namespace
} // namespace tavisto
