#include "files/FileRead.h"

#include "tests/support/TempFolder.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tavisto {
namespace {
namespace fs = std::filesystem;

constexpr FileSizeLimit kTenBytes{10, "a test file"};

class FileReadTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::string message;
    Bytes bytes = "kept";

    fs::path at(const std::string& name) const { return folder.path() / name; }
    bool read(const fs::path& path, const FileSizeLimit& limit = kTenBytes) {
        return ReadFileBounded(path, limit, bytes, message);
    }
};

TEST_F(FileReadTest, ReadsEveryByteUpToTheLimitThroughLinks) {
    folder.write("ten", std::string("a\0b\r\n\xFF\x1A"
                                    "xyz",
                                    10));
    fs::create_symlink("ten", at("link"));
    ASSERT_TRUE(read(at("link"))) << message;
    EXPECT_EQ(bytes, std::string("a\0b\r\n\xFF\x1A"
                                 "xyz",
                                 10));
    EXPECT_EQ(message, "OK");

    folder.write("empty", "");
    ASSERT_TRUE(read(at("empty")));
    EXPECT_EQ(bytes, "");
}

TEST_F(FileReadTest, RefusesAFileAboveTheLimitBeforeReadingIt) {
    folder.write("eleven", "01234567890");
    EXPECT_FALSE(read(at("eleven")));
    EXPECT_EQ(message, "The file \"" + at("eleven").string() + "\" is too large for a test file.");
    EXPECT_EQ(bytes, "kept");

    // A sparse file claims gigabytes that reading would have to fill with zeros.
    folder.write("sparse", "");
    fs::resize_file(at("sparse"), 3ull << 30);
    EXPECT_FALSE(read(at("sparse"), FileSizeLimit{256u << 20, "a picture"}));
    EXPECT_EQ(message, "The file \"" + at("sparse").string() + "\" is too large for a picture.");
}

TEST_F(FileReadTest, RefusesWhatIsNotARegularFileWithoutWaitingOnIt) {
    // Opening a named pipe for reading waits for a writer unless told not to.
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    fs::create_symlink("pipe", at("pipe.ini"));
    fs::create_symlink("/dev/zero", at("zero.png"));
    fs::create_directory(at("folder"));

    EXPECT_FALSE(read(at("pipe.ini")));
    EXPECT_EQ(message, "Cannot open file \"" + at("pipe.ini").string() +
                           "\". Not a regular file (a named pipe)");
    EXPECT_FALSE(read(at("zero.png"), FileSizeLimit{1u << 30, "a picture"}));
    EXPECT_EQ(message, "Cannot open file \"" + at("zero.png").string() +
                           "\". Not a regular file (a device)");
    EXPECT_FALSE(read(at("folder")));
    EXPECT_EQ(message, "Cannot open file \"" + at("folder").string() + "\". Is a directory");
    EXPECT_FALSE(read(at("none")));
    EXPECT_EQ(message,
              "Cannot open file \"" + at("none").string() + "\". No such file or directory");
    EXPECT_EQ(bytes, "kept");
}

TEST_F(FileReadTest, GivesTheSystemsReasonForAFileItMayNotRead) {
    const testing::Unprivileged user;
    if (!user.available())
        GTEST_SKIP() << "no unprivileged user to read as";
    ::chmod(folder.path().c_str(), 0755);
    folder.write("secret", "x");
    user.own(at("secret"));
    ::chmod(at("secret").c_str(), 0200);
    const std::string result = user.run([&] {
        Bytes got;
        std::string reason;
        return ReadFileBounded(at("secret"), kTenBytes, got, reason) ? "read" : reason;
    });
    EXPECT_EQ(result, "Cannot open file \"" + at("secret").string() + "\". Permission denied");
}

} // namespace
} // namespace tavisto
