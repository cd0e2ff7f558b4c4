#include "TestPictures.h"
#include "pictures/BmpCodec.h"
#include "pictures/ByteFiles.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureConvert.h"
#include "pictures/PictureError.h"
#include "pictures/StretchDraw.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavisto {
namespace {

using testing::GradientBitmap;

TEST(PictureConvert, ExtensionsAreComparedExactly) {
    for (const char* name : {"a.png", "a.PNG", "x/y.z.png"})
        EXPECT_EQ(OpenFormatForFileName(name), PictureFormat::Png) << name;
    for (const char* name : {"a.jpg", "a.JPG"})
        EXPECT_EQ(OpenFormatForFileName(name), PictureFormat::Jpeg) << name;
    for (const char* name : {"a.bmp", "a.BMP"})
        EXPECT_EQ(OpenFormatForFileName(name), PictureFormat::Bmp) << name;
    for (const char* name :
         {"a.Png", "a.Jpg", "a.jpeg", "a.JPEG", "a.bMp", "a.gif", "png", "a.bin"})
        EXPECT_EQ(OpenFormatForFileName(name), std::nullopt) << name;

    EXPECT_EQ(SaveFormatForFileName("a.bin"), SaveFormat::Rgb565);
    EXPECT_EQ(SaveFormatForFileName("a.BIN"), SaveFormat::Rgb565);
    EXPECT_EQ(SaveFormatForFileName("a.BMP"), SaveFormat::Bmp);
    EXPECT_EQ(SaveFormatForFileName("a.JPG"), SaveFormat::Jpeg);
    for (const char* name : {"a.Bin", "a.png", "a.jpeg", "Unnamed"})
        EXPECT_EQ(SaveFormatForFileName(name), std::nullopt) << name;
}

// Red of the gradient picture at view column `column`, by the scale the view applies.
double expectedRed(int column, int viewWidth, int pictureWidth) {
    const double x = (column + 0.5) * pictureWidth / viewWidth - 0.5;
    return x * 255.0 / (pictureWidth - 1);
}

TEST(PictureConvert, LargePictureIsScaledAndTheMiddleCutOut) {
    const Bitmap picture = GradientBitmap(1920, 1080);
    const Bitmap result =
        ConvertCentred(testing::PngFile(picture), PictureFormat::Png, PictureSize{480, 272});
    ASSERT_EQ(result.width(), 480);
    ASSERT_EQ(result.height(), 272);
    // The view is 484 x 272; centred in the panel its left edge lies 2 pixels left of
    // the frame's, so result column c shows view column c + 2.
    for (int c : {0, 100, 239, 479})
        EXPECT_NEAR(result.pixel(c, 136).r, expectedRed(c + 2, 484, 1920), 1.5) << c;
    EXPECT_NEAR(result.pixel(10, 0).g, 0, 2);
    EXPECT_NEAR(result.pixel(10, 271).g, 255, 2);
}

TEST(PictureConvert, TallerViewLosesRowsTopAndBottom) {
    const Bitmap picture = GradientBitmap(3000, 2000);
    const OpenedPicture opened =
        OpenPictureForTarget(EncodeBmp(picture), PictureFormat::Bmp, PictureSize{800, 480});
    EXPECT_EQ(opened.view, (PictureView{{800, 533}, true}));
    EXPECT_EQ(opened.original, (PictureSize{3000, 2000}));
    ASSERT_EQ(opened.bitmap.width(), 800);
    ASSERT_EQ(opened.bitmap.height(), 533);

    const SelectionLayout layout = CentredLayout(kPreviewPanelSize, {800, 533}, {800, 480});
    const Bitmap result = BuildResult(opened, layout.view, layout.frame);
    // View top 64, frame top 91: the result starts at view row 27, unchanged 1:1.
    for (int y : {0, 200, 479})
        for (int x : {0, 399, 799})
            EXPECT_EQ(result.pixel(x, y), opened.bitmap.pixel(x, y + 27)) << x << "," << y;
}

TEST(PictureConvert, PictureThatFitsIsStretchedToTheTarget) {
    Bitmap picture(640, 480, Rgb{0, 0, 255});
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            picture.setPixel(x, y, Rgb{255, 0, 0}); // top left quarter red
    const Bytes png = testing::PngFile(picture);
    const OpenedPicture opened = OpenPictureForTarget(png, PictureFormat::Png, {800, 480});
    EXPECT_EQ(opened.view, (PictureView{{800, 480}, false}));
    EXPECT_EQ(opened.bitmap, picture); // shown centred at its own size

    const Bitmap result = ConvertCentred(png, PictureFormat::Png, {800, 480});
    ASSERT_EQ(result.width(), 800);
    EXPECT_EQ(result.pixel(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(result.pixel(395, 100), (Rgb{255, 0, 0})); // 395 * 640/800 = 316 < 320
    EXPECT_EQ(result.pixel(405, 100), (Rgb{0, 0, 255}));
    EXPECT_EQ(result.pixel(799, 479), (Rgb{0, 0, 255}));
}

TEST(PictureConvert, UncoveredPartsOfTheResultStayWhite) {
    // 2000 x 100 against 800 x 480: already low enough, so nothing shrinks, and the
    // frame is taller than the picture.
    const Bitmap result = ConvertCentred(testing::PngFile(Bitmap(2000, 100, Rgb{0, 0, 0})),
                                         PictureFormat::Png, {800, 480});
    // View top (662 - 100) div 2 = 281, frame top 91: picture rows land on 190..289.
    EXPECT_EQ(result.pixel(400, 189), kWhite);
    EXPECT_EQ(result.pixel(400, 190), (Rgb{0, 0, 0}));
    EXPECT_EQ(result.pixel(400, 289), (Rgb{0, 0, 0}));
    EXPECT_EQ(result.pixel(400, 290), kWhite);
}

TEST(PictureConvert, ReducedJpegDecodeGivesTheSameResult) {
    Bitmap picture = GradientBitmap(2400, 1600);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((x / 40 + y / 40) % 2 == 0)
                picture.setPixel(x, y, Rgb{30, 200, 90});
    const Bytes jpeg = BitmapToJpeg(picture);
    const OpenedPicture opened = OpenPictureForTarget(jpeg, PictureFormat::Jpeg, {480, 272});
    ASSERT_EQ(opened.view.size, (PictureSize{480, 320}));
    const Bitmap direct = Resized(DecodeJpeg(jpeg), opened.view.size);
    EXPECT_LT(testing::MeanDifference(opened.bitmap, direct), 2.0);
}

TEST(PictureConvert, SaveWritesByExtensionOnly) {
    testing::TempDir dir;
    Bitmap result(240, 80, Rgb{255, 255, 255});
    result.setPixel(0, 0, Rgb{255, 0, 0});

    ASSERT_TRUE(SaveResult(result, dir.file("p.bin")));
    const Bytes raw = FileToBytes(dir.file("p.bin"));
    ASSERT_EQ(raw.size(), 38400u);
    EXPECT_EQ(raw.substr(0, 4), Bytes("\x00\xF8\xFF\xFF", 4));

    ASSERT_TRUE(SaveResult(result, dir.file("p.BMP")));
    EXPECT_EQ(DecodeBmp(FileToBytes(dir.file("p.BMP"))), result);

    ASSERT_TRUE(SaveResult(result, dir.file("p.JPG")));
    const Bitmap jpeg = DecodeJpeg(FileToBytes(dir.file("p.JPG")));
    EXPECT_EQ(jpeg.width(), 240);
    EXPECT_LT(testing::MeanDifference(jpeg, result), 2.0);

    EXPECT_FALSE(SaveResult(result, dir.file("p.Jpg")));
    EXPECT_FALSE(SaveResult(result, dir.file("p.png")));
    EXPECT_EQ(dir.fileCount(), 3);
}

TEST(StretchDraw, DrawsOnlyWhereTheRectangleCoversTheTarget) {
    const Bitmap source(10, 10, Rgb{1, 2, 3});
    Bitmap target(6, 6, kWhite);
    StretchDraw(source, target, PictureRect{-3, 4, 20, 20}); // shrinking is not needed here
    EXPECT_EQ(target.pixel(0, 3), kWhite);
    EXPECT_EQ(target.pixel(0, 4), (Rgb{1, 2, 3}));
    EXPECT_EQ(target.pixel(5, 5), (Rgb{1, 2, 3}));
    StretchDraw(source, target, PictureRect{100, 100, 5, 5}); // wholly outside: no change
    StretchDraw(source, target, PictureRect{0, 0, 0, 5});
    EXPECT_EQ(target.pixel(0, 0), kWhite);
}

TEST(StretchDraw, ShrinkingAveragesAndEnlargingInterpolates) {
    Bitmap stripes(4, 1);
    stripes.setPixel(0, 0, Rgb{0, 0, 0});
    stripes.setPixel(1, 0, Rgb{200, 200, 200});
    stripes.setPixel(2, 0, Rgb{100, 100, 100});
    stripes.setPixel(3, 0, Rgb{100, 100, 100});
    const Bitmap half = Resized(stripes, {2, 1});
    EXPECT_EQ(half.pixel(0, 0), (Rgb{100, 100, 100}));
    EXPECT_EQ(half.pixel(1, 0), (Rgb{100, 100, 100}));

    Bitmap pair(2, 1);
    pair.setPixel(0, 0, Rgb{0, 0, 0});
    pair.setPixel(1, 0, Rgb{200, 100, 40});
    const Bitmap wide = Resized(pair, {8, 1});
    EXPECT_EQ(wide.pixel(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(wide.pixel(7, 0), (Rgb{200, 100, 40}));
    for (int x = 1; x < 8; ++x)
        EXPECT_GE(wide.pixel(x, 0).r, wide.pixel(x - 1, 0).r);
    // A one-pixel-wide extreme shrink still averages every source pixel.
    const Bitmap line = Resized(GradientBitmap(10000, 1), {1, 1});
    EXPECT_NEAR(line.pixel(0, 0).r, 127.5, 1.0);
}

} // namespace
} // namespace tavisto
