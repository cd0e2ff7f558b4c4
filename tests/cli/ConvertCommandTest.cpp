#include "cli/shell/Cli.h"
#include "pictures/BmpCodec.h"
#include "pictures/ByteFiles.h"
#include "pictures/JpegCodec.h"
#include "tests/pictures/TestPictures.h"

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace tavisto {
namespace {

struct CommandRun {
    int code;
    std::string out;
    std::string err;
};

CommandRun convert(std::vector<std::string> args) {
    std::ostringstream out, err;
    args.insert(args.begin(), "convert");
    const int code = cli::RunCli(args, out, err, cli::SystemEnvironment());
    return CommandRun{code, out.str(), err.str()};
}

TEST(ConvertCommand, WritesTheCentredCropInTheOutputsFormat) {
    testing::TempDir dir;
    Bitmap picture(1920, 1080, Rgb{255, 0, 0});
    for (int y = 0; y < 1080; ++y)
        for (int x = 960; x < 1920; ++x)
            picture.setPixel(x, y, Rgb{255, 255, 255});
    testing::WriteFile(dir.file("in.bmp"), EncodeBmp(picture));

    const CommandRun bin = convert({dir.file("in.bmp"), "480x272", dir.file("out.bin")});
    EXPECT_EQ(bin.code, 0) << bin.err;
    const Bytes raw = FileToBytes(dir.file("out.bin"));
    ASSERT_EQ(raw.size(), 480u * 272 * 2);
    EXPECT_EQ(raw.substr(0, 2), Bytes("\x00\xF8", 2)); // red on the left
    EXPECT_EQ(raw.substr(479 * 2, 2), "\xFF\xFF");     // white on the right

    ASSERT_EQ(convert({dir.file("in.bmp"), "240x80", dir.file("out.JPG")}).code, 0);
    const Bitmap jpeg = DecodeJpeg(FileToBytes(dir.file("out.JPG")));
    EXPECT_EQ(jpeg.width(), 240);
    EXPECT_EQ(jpeg.height(), 80);

    ASSERT_EQ(convert({dir.file("in.bmp"), "800x480", dir.file("out.BMP")}).code, 0);
    EXPECT_EQ(DecodeBmp(FileToBytes(dir.file("out.BMP"))).width(), 800);
}

TEST(ConvertCommand, UsageErrorsExitWithTwoAndWriteNothing) {
    testing::TempDir dir;
    testing::WriteFile(dir.file("in.bmp"), EncodeBmp(Bitmap(4, 4)));
    const std::string in = dir.file("in.bmp");
    const std::string out = dir.file("out.bin");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {in, "800x480"},
                                               {in, "800x480", out, "extra"},
                                               {in, "800by480", out},
                                               {in, "0x480", out},
                                               {in, "800x", out},
                                               {in, "800x480x2", out},
                                               {in, "-800x480", out},
                                               {in, "800x480", dir.file("out.png")},
                                               {in, "800x480", dir.file("out.Bin")},
                                               {dir.file("in.Jpg"), "800x480", out},
                                               {dir.file("in.jpeg"), "800x480", out}}) {
        const CommandRun run = convert(args);
        EXPECT_EQ(run.code, 2) << run.err;
        EXPECT_NE(run.err.find("usage: tavisto-cli convert"), std::string::npos);
    }
    EXPECT_EQ(dir.fileCount(), 1);
    EXPECT_EQ(convert({"--help"}).code, 0);
}

TEST(ConvertCommand, BadInputExitsWithOneAndWritesNothing) {
    testing::TempDir dir;
    const Bytes jpeg = BitmapToJpeg(testing::GradientBitmap(300, 200));
    testing::WriteFile(dir.file("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
    testing::WriteFile(dir.file("text.png"), "hello");

    const CommandRun cut = convert({dir.file("cut.jpg"), "120x40", dir.file("o.bin")});
    EXPECT_EQ(cut.code, 1);
    EXPECT_EQ(cut.err, "The picture \"" + dir.file("cut.jpg") +
                           "\" cannot be opened. The JPEG file cannot be read: the file is "
                           "truncated.\n");
    EXPECT_EQ(convert({dir.file("text.png"), "120x40", dir.file("o.bin")}).code, 1);
    const CommandRun missing = convert({dir.file("none.png"), "120x40", dir.file("o.bin")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("none.png"), std::string::npos);
    EXPECT_EQ(dir.fileCount(), 2);
}

TEST(ConvertCommand, ReadsAndWritesOnlyRegularFilesFollowingLinks) {
    testing::TempDir dir;
    testing::WriteFile(dir.file("in.bmp"), EncodeBmp(Bitmap(4, 4, Rgb{255, 0, 0})));
    ASSERT_EQ(::mkfifo(dir.file("pipe.png").c_str(), 0600), 0);
    std::filesystem::create_symlink("pipe.png", dir.file("pipe.bin"));
    std::filesystem::create_symlink("real.bin", dir.file("link.bin"));

    // A named pipe with no writer would wait for ever if it were opened for reading.
    const CommandRun pipeIn = convert({dir.file("pipe.png"), "2x2", dir.file("o.bin")});
    EXPECT_EQ(pipeIn.code, 1);
    EXPECT_EQ(pipeIn.err, "Cannot open file \"" + dir.file("pipe.png") +
                              "\". Not a regular file (a named pipe)\n");
    const CommandRun pipeOut = convert({dir.file("in.bmp"), "2x2", dir.file("pipe.bin")});
    EXPECT_EQ(pipeOut.code, 1);
    EXPECT_NE(pipeOut.err.find(dir.file("pipe.bin")), std::string::npos) << pipeOut.err;

    ASSERT_EQ(convert({dir.file("in.bmp"), "2x2", dir.file("link.bin")}).code, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.bin")));
    EXPECT_EQ(FileToBytes(dir.file("real.bin")), Bytes("\x00\xF8\x00\xF8\x00\xF8\x00\xF8", 8));
    EXPECT_EQ(dir.fileCount(), 5);
}

} // namespace
} // namespace tavisto
