#include "settings/SettingsFile.h"

#include "tests/settings/TempFolder.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tavisto {
namespace {
namespace fs = std::filesystem;

TEST(SettingsFileName, EndsInIniWhateverWasChosen) {
    EXPECT_EQ(SettingsFileName("abc.txt"), fs::path("abc.ini"));
    EXPECT_EQ(SettingsFileName("abc"), fs::path("abc.ini"));
    EXPECT_EQ(SettingsFileName("abc.ini"), fs::path("abc.ini"));
    EXPECT_EQ(SettingsFileName("abc.INI"), fs::path("abc.ini"));
    EXPECT_EQ(SettingsFileName("abc."), fs::path("abc.ini"));
    EXPECT_EQ(SettingsFileName("a.b.txt"), fs::path("a.b.ini"));
    EXPECT_EQ(SettingsFileName("/x/dir.d/abc"), fs::path("/x/dir.d/abc.ini"));
    EXPECT_EQ(SettingsFileName("/x/.hidden"), fs::path("/x/.hidden.ini"));
}

class AtomicWriteTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::string message;
};

TEST_F(AtomicWriteTest, ReplacesTheFileLeavingNoTemporaryAndKeepingItsPermissions) {
    const fs::path path = folder.path() / "a.ini";
    folder.write("a.ini", "old content that is longer");
    ::chmod(path.c_str(), 0640);

    const Bytes bytes("new\0\xFF", 5);
    ASSERT_TRUE(WriteFileAtomically(path, bytes, message)) << message;
    EXPECT_EQ(folder.read("a.ini"), bytes);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.ini"});
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicWriteTest, WritesThroughASymbolicLink) {
    folder.write("real.ini", "old");
    fs::create_symlink("real.ini", folder.path() / "link.ini");
    ASSERT_TRUE(WriteFileAtomically(folder.path() / "link.ini", "new", message)) << message;
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.ini"));
    EXPECT_EQ(folder.read("real.ini"), "new");
}

TEST_F(AtomicWriteTest, AWriteCutShortLeavesTheOldFileWhole) {
    folder.write("a.ini", "old settings");
    // A file size limit makes the write fail part way, as a full disk does.
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 8;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written =
        WriteFileAtomically(folder.path() / "a.ini", std::string(100, 'x'), message);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(message,
              "Cannot write file \"" + (folder.path() / "a.ini").string() + "\". File too large");
    EXPECT_EQ(folder.read("a.ini"), "old settings");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.ini"});
}

TEST_F(AtomicWriteTest, FailuresNameTheFileAndLeaveNothingBehind) {
    fs::create_directory(folder.path() / "taken.ini");
    folder.write("taken.ini/inside", "x");
    EXPECT_FALSE(WriteFileAtomically(folder.path() / "taken.ini", "new", message));
    EXPECT_NE(message.find("Cannot create file \"" + (folder.path() / "taken.ini").string() + "\""),
              std::string::npos)
        << message;
    EXPECT_EQ(folder.names(), std::vector<std::string>{"taken.ini"});

    EXPECT_FALSE(WriteFileAtomically(folder.path() / "missing" / "a.ini", "new", message));
    EXPECT_EQ(message, "Cannot create file \"" + (folder.path() / "missing" / "a.ini").string() +
                           "\". No such file or directory");
}

TEST_F(AtomicWriteTest, AReadOnlyFolderKeepsItsFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    folder.write("a.ini", "old");
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_FALSE(WriteFileAtomically(folder.path() / "a.ini", "new", message));
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(folder.read("a.ini"), "old");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.ini"});
}

TEST_F(AtomicWriteTest, ReadingGivesTheBytesOrSaysWhyNot) {
    folder.write("a.ini", std::string("{\0}", 3));
    Bytes bytes;
    ASSERT_TRUE(ReadWholeFile(folder.path() / "a.ini", bytes, message));
    EXPECT_EQ(bytes, std::string("{\0}", 3));

    bytes = "kept";
    EXPECT_FALSE(ReadWholeFile(folder.path() / "none.ini", bytes, message));
    EXPECT_EQ(message, "Cannot open file \"" + (folder.path() / "none.ini").string() +
                           "\". No such file or directory");
    EXPECT_EQ(bytes, "kept");

    EXPECT_FALSE(ReadWholeFile(folder.path(), bytes, message));
    EXPECT_EQ(message, "Cannot open file \"" + folder.path().string() + "\". Is a directory");

    folder.write("big.ini", std::string(20, ' '));
    EXPECT_FALSE(ReadWholeFile(folder.path() / "big.ini", bytes, message, 19));
    EXPECT_EQ(message, "The file \"" + (folder.path() / "big.ini").string() +
                           "\" is too large for a settings file.");
    EXPECT_TRUE(ReadWholeFile(folder.path() / "big.ini", bytes, message, 20));
}

} // namespace
} // namespace tavisto
