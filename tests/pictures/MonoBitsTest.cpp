#include "pictures/MonoBits.h"

#include "TestPictures.h"
#include "pictures/BmpCodec.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureError.h"
#include "tests/support/Wire.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

// Left `black` columns black, the rest white.
Bitmap LeftBlack(int width, int height, int black) {
    Bitmap bitmap(width, height, kWhite);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < black; ++x)
            bitmap.setPixel(x, y, Rgb{});
    return bitmap;
}

TEST(PictureToMonoBits, WhiteBlackAndHalfBlackPicturesInAnyExtensionCase) {
    TempDir dir;
    WriteFile(dir.file("white.PNG"), PngFile(Bitmap(50, 30, kWhite)));
    WriteFile(dir.file("black.Bmp"), EncodeBmp(Bitmap(7, 300, Rgb{})));
    // Twice the target width: the stretch lands the edge exactly between two bytes.
    WriteFile(dir.file("half.png"), PngFile(LeftBlack(384, 100, 192)));
    WriteFile(dir.file("half.JPEG"), EncodeJpeg(LeftBlack(384, 100, 192), 95));

    EXPECT_EQ(PictureToMonoBits(dir.file("white.PNG"), 192, 192), Bytes(4608, '\0'));
    EXPECT_EQ(PictureToMonoBits(dir.file("black.Bmp"), 192, 192), Bytes(4608, '\xFF'));
    Bytes row = Bytes(12, '\xFF') + Bytes(12, '\0');
    Bytes halves;
    for (int y = 0; y < 192; ++y)
        halves += row;
    EXPECT_EQ(PictureToMonoBits(dir.file("half.png"), 192, 192), halves);
    EXPECT_EQ(PictureToMonoBits(dir.file("half.JPEG"), 192, 192), halves);
}

TEST(PictureToMonoBits, BitsRunOnMostSignificantFirstWithoutRowPadding) {
    // 12 x 2: the first byte holds pixels 0..7 of row 0, the second 8..11 of row 0
    // and 0..3 of row 1.
    Bitmap bitmap(12, 2, kWhite);
    bitmap.setPixel(0, 0, Rgb{});
    bitmap.setPixel(11, 0, Rgb{10, 10, 10});
    bitmap.setPixel(3, 1, Rgb{0, 0, 255});   // dark blue is dark
    bitmap.setPixel(4, 1, Rgb{255, 255, 0}); // yellow is light
    EXPECT_EQ(BitmapToMonoBits(bitmap), wire("80 11 00"));
}

TEST(PictureToMonoBits, OtherExtensionsGiveNothingAndBadFilesSayWhy) {
    TempDir dir;
    WriteFile(dir.file("picture.gif"), PngFile(Bitmap(4, 4)));
    EXPECT_TRUE(PictureToMonoBits(dir.file("picture.gif"), 192, 192).empty());

    WriteFile(dir.file("broken.png"), "\x89PNG\r\n\x1a\n broken");
    try {
        PictureToMonoBits(dir.file("broken.png"), 192, 192);
        FAIL() << "no error";
    } catch (const PictureError& error) {
        EXPECT_NE(std::string(error.what()).find("broken.png"), std::string::npos) << error.what();
    }
    EXPECT_THROW(PictureToMonoBits(dir.file("missing.png"), 192, 192), FileError);
}

} // namespace
} // namespace tavisto::testing
