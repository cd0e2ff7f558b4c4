#include "TestPictures.h"
#include "pictures/BmpCodec.h"
#include "pictures/ByteFiles.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureError.h"
#include "pictures/Rgb565.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavisto {
namespace {

using testing::TempDir;

Bitmap row(std::initializer_list<Rgb> pixels) {
    Bitmap bitmap(static_cast<int>(pixels.size()), 1);
    int x = 0;
    for (Rgb p : pixels)
        bitmap.setPixel(x++, 0, p);
    return bitmap;
}

TEST(Rgb565, PacksEachPixelLowByteFirst) {
    const Bitmap bitmap = row(
        {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0x12, 0x34, 0x56}, {7, 3, 7}});
    // 0x12 div 8 = 2, 0x34 div 4 = 13, 0x56 div 8 = 10: 0x1000 | 0x01A0 | 0x000A = 0x11AA.
    EXPECT_EQ(BitmapToRgb565(bitmap, 6, 1), Bytes("\x00\xF8"
                                                  "\xE0\x07"
                                                  "\x1F\x00"
                                                  "\xFF\xFF"
                                                  "\xAA\x11"
                                                  "\x00\x00",
                                                  12));
}

TEST(Rgb565, TakesTheTopLeftPartRowByRow) {
    Bitmap bitmap(3, 3, Rgb{0, 0, 0});
    bitmap.setPixel(0, 1, Rgb{255, 255, 255});
    bitmap.setPixel(2, 0, Rgb{255, 0, 0}); // outside the 2 x 2 part
    EXPECT_EQ(BitmapToRgb565(bitmap, 2, 2), Bytes("\0\0\0\0\xFF\xFF\0\0", 8));
    EXPECT_EQ(BitmapToRgb565(Bitmap(240, 80), 240, 80).size(), 38400u);
    EXPECT_THROW(BitmapToRgb565(bitmap, 4, 1), std::invalid_argument);
    EXPECT_THROW(BitmapToRgb565(bitmap, 1, 4), std::invalid_argument);
}

TEST(Rgb565, SaveReplacesTheFileWhole) {
    TempDir dir;
    const std::string name = dir.file("out.bin");
    testing::WriteFile(name, Bytes(100000, 'x'));
    SaveBitmapRgb565(Bitmap(240, 80, Rgb{255, 0, 0}), 240, 80, name);
    const Bytes written = FileToBytes(name);
    ASSERT_EQ(written.size(), 38400u);
    EXPECT_EQ(written.substr(0, 4), Bytes("\x00\xF8\x00\xF8", 4));
    EXPECT_EQ(dir.fileCount(), 1); // no temporary file left behind
}

TEST(SaveBytesToFile, AFailedWriteLeavesNothingBehindAndNamesTheFile) {
    TempDir dir;
    const std::string name = dir.file("keep.bin");
    testing::WriteFile(name, "old");
    std::filesystem::create_directory(dir.file("folder.bin"));
    EXPECT_THROW(SaveBytesToFile(dir.file("folder.bin"), "new"), FileError);
    try {
        SaveBytesToFile(dir.file("missing/x.bin"), "new");
        FAIL() << "no error for a missing folder";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dir.file("missing/x.bin") +
                                             "\". No such file or directory");
    }
    EXPECT_EQ(dir.fileCount(), 2);
    EXPECT_EQ(FileToBytes(name), "old");
}

TEST(FileToBytes, ReadsRawBytesAndNamesTheFileWhenItCannot) {
    TempDir dir;
    const Bytes content("a\0b\r\n\xFF", 6);
    testing::WriteFile(dir.file("raw"), content);
    EXPECT_EQ(FileToBytes(dir.file("raw")), content);
    try {
        FileToBytes(dir.file("absent.jpg"));
        FAIL() << "no error for a missing file";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.jpg"), std::string::npos);
    }
    EXPECT_THROW(FileToBytes(dir.path().string()), FileError);
}

TEST(FileToBytes, RefusesEndlessAndHugePictureFilesWithoutReadingThem) {
    TempDir dir;
    // A sparse file takes no disk space and no time to make.
    const std::string sparse = dir.file("huge.png");
    testing::WriteFile(sparse, "");
    std::filesystem::resize_file(sparse, 3ull << 30);
    const std::string endless = dir.file("zero.png");
    std::filesystem::create_symlink("/dev/zero", endless);

    for (const std::string& name : {sparse, endless}) {
        try {
            FileToBytes(name);
            FAIL() << "no error for " << name;
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + name + "\""), std::string::npos)
                << e.what();
        }
    }
}

TEST(ByteStreams, CopyWholeContentsFromTheStart) {
    std::stringstream stream;
    stream << "an older and longer content";
    const Bytes bytes("\0\x01zero\0", 7);
    ASSERT_TRUE(BytesToStream(bytes, stream));
    EXPECT_EQ(stream.str(), bytes); // emptied first, not overwritten in place
    stream.seekg(3);
    EXPECT_EQ(StreamToBytes(stream), bytes); // from the start, whatever the position
    std::stringstream empty;
    EXPECT_EQ(StreamToBytes(empty), "");
}

TEST(FileExtension, TakesTheLastDotOfTheLastComponent) {
    EXPECT_EQ(FileExtension("/a/b/picture.JPG"), ".JPG");
    EXPECT_EQ(FileExtension("archive.tar.jpg"), ".jpg");
    EXPECT_EQ(FileExtension("/a.b/noext"), "");
    EXPECT_EQ(FileExtension("name."), ".");
    EXPECT_EQ(FileExtension(""), "");
}

TEST(BitmapToJpeg, WritesABaselineColourJfifFile) {
    const Bitmap bitmap = testing::GradientBitmap(64, 48);
    const Bytes jpeg = BitmapToJpeg(bitmap);
    ASSERT_GT(jpeg.size(), 20u);
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(jpeg.substr(6, 5), Bytes("JFIF\0", 5));
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
    // Baseline start of frame: FF C0, length, precision 8, height, width, 3 components.
    const std::size_t sof = jpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    EXPECT_EQ(jpeg.substr(sof + 4, 6), Bytes("\x08\x00\x30\x00\x40\x03", 6));
    EXPECT_EQ(jpeg.find("\xFF\xC2"), std::string::npos); // not progressive

    const Bitmap back = DecodeJpeg(jpeg);
    ASSERT_EQ(back.width(), 64);
    ASSERT_EQ(back.height(), 48);
    EXPECT_LT(testing::MeanDifference(back, bitmap), 3.0);
}

TEST(BitmapToJpeg, SmallFlagTradesQualityForSize) {
    Bitmap bitmap = testing::GradientBitmap(200, 120);
    for (int y = 0; y < bitmap.height(); y += 2)
        for (int x = y % 4; x < bitmap.width(); x += 4)
            bitmap.setPixel(x, y, Rgb{255, 255, 0});
    const Bytes good = BitmapToJpeg(bitmap, false);
    const Bytes small = BitmapToJpeg(bitmap, true);
    EXPECT_LT(small.size() * 2, good.size());
    const Bitmap red = DecodeJpeg(BitmapToJpeg(Bitmap(16, 16, Rgb{255, 0, 0}), true));
    const Rgb p = red.pixel(8, 8);
    EXPECT_GT(p.r, 230);
    EXPECT_LT(p.g, 30);
    EXPECT_LT(p.b, 30);
    EXPECT_THROW(BitmapToJpeg(Bitmap()), PictureError);
}

TEST(EncodeBmp, WritesBottomUpBgrRowsPaddedToFourBytes) {
    Bitmap bitmap(1, 2);
    bitmap.setPixel(0, 0, Rgb{0x11, 0x22, 0x33});
    bitmap.setPixel(0, 1, Rgb{0x44, 0x55, 0x66});
    const Bytes expected("BM\x3E\0\0\0"
                         "\0\0\0\0"
                         "\x36\0\0\0" // file header
                         "\x28\0\0\0"
                         "\x01\0\0\0"
                         "\x02\0\0\0" // info header, 1 x 2
                         "\x01\0"
                         "\x18\0"
                         "\0\0\0\0"
                         "\x08\0\0\0" // planes, 24 bits, BI_RGB
                         "\0\0\0\0"
                         "\0\0\0\0"
                         "\0\0\0\0"
                         "\0\0\0\0"
                         "\x66\x55\x44\0" // bottom row first, then one padding byte
                         "\x33\x22\x11\0",
                         62);
    EXPECT_EQ(EncodeBmp(bitmap), expected);
    EXPECT_EQ(DecodeBmp(EncodeBmp(testing::GradientBitmap(5, 3))), testing::GradientBitmap(5, 3));
}

} // namespace
} // namespace tavisto
