#include "files/FileWrite.h"

#include "tests/support/TempFolder.h"
#include "tests/support/Unprivileged.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavisto {
namespace {
namespace fs = std::filesystem;

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

class FileWriteTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::string message;

    fs::path at(const std::string& name) const { return folder.path() / name; }
    std::string notWritten(const std::string& name, const std::string& reason,
                           const char* action = "create") const {
        return "Cannot " + std::string(action) + " file \"" + at(name).string() + "\". " + reason;
    }
};

TEST_F(FileWriteTest, CreatesANewFileAsAPlainSaveWould) {
    const mode_t previous = ::umask(027);
    const bool saved = SaveFile(at("new.ini"), Bytes("a\0b", 3), message);
    ::umask(previous);
    ASSERT_TRUE(saved) << message;
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(folder.read("new.ini"), Bytes("a\0b", 3));
    EXPECT_EQ(statOf(at("new.ini")).st_mode & 07777, 0640u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"new.ini"});
}

TEST_F(FileWriteTest, ReplacesTheFileWholeKeepingItsMode) {
    folder.write("a.ini", "old content that is longer");
    ::chmod(at("a.ini").c_str(), 02604);
    // A reader that has the old file open never sees a mixture of old and new bytes.
    const int reader = ::open(at("a.ini").c_str(), O_RDONLY);
    ASSERT_TRUE(SaveFile(at("a.ini"), "new", message)) << message;
    char seen[64] = {};
    EXPECT_EQ(::pread(reader, seen, sizeof seen, 0), 26);
    ::close(reader);
    EXPECT_EQ(std::string(seen), "old content that is longer");

    EXPECT_EQ(folder.read("a.ini"), "new");
    EXPECT_EQ(statOf(at("a.ini")).st_mode & 07777, 02604u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"a.ini"});
}

TEST_F(FileWriteTest, WritesTheFileAtTheEndOfSymbolicLinks) {
    fs::create_directory(at("real"));
    folder.write("real/settings.ini", "old");
    fs::create_symlink(at("real/settings.ini"), at("absolute"));
    fs::create_symlink("absolute", at("relative.ini"));
    ASSERT_TRUE(SaveFile(at("relative.ini"), "new", message)) << message;
    EXPECT_TRUE(fs::is_symlink(at("relative.ini")));
    EXPECT_TRUE(fs::is_symlink(at("absolute")));
    EXPECT_EQ(folder.read("real/settings.ini"), "new");
    EXPECT_EQ(fs::directory_iterator(at("real"))->path().filename(), "settings.ini");

    // A link to a file not made yet says where the file goes.
    fs::create_symlink("real/later.ini", at("later.ini"));
    ASSERT_TRUE(SaveFile(at("later.ini"), "made", message)) << message;
    EXPECT_EQ(folder.read("real/later.ini"), "made");
    EXPECT_TRUE(fs::is_symlink(at("later.ini")));

    fs::create_symlink("loop2", at("loop1"));
    fs::create_symlink("loop1", at("loop2"));
    EXPECT_FALSE(SaveFile(at("loop1"), "x", message));
    EXPECT_EQ(message, notWritten("loop1", "Too many levels of symbolic links"));
}

TEST_F(FileWriteTest, RefusesTargetsThatAreNoRegularFileAndLeavesThemAlone) {
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    fs::create_symlink("pipe", at("pipe.bin"));
    fs::create_symlink("/dev/null", at("null.bin"));
    fs::create_directory(at("folder.ini"));

    EXPECT_FALSE(SaveFile(at("pipe.bin"), "x", message));
    EXPECT_EQ(message, notWritten("pipe.bin", "Not a regular file (a named pipe)"));
    EXPECT_FALSE(SaveFile(at("null.bin"), "x", message));
    EXPECT_EQ(message, notWritten("null.bin", "Not a regular file (a device)"));
    EXPECT_FALSE(SaveFile(at("folder.ini"), "x", message));
    EXPECT_EQ(message, notWritten("folder.ini", "Is a directory"));
    EXPECT_FALSE(SaveFile(at("missing/a.ini"), "x", message));
    EXPECT_EQ(message, notWritten("missing/a.ini", "No such file or directory"));

    EXPECT_TRUE(S_ISFIFO(statOf(at("pipe")).st_mode));
    EXPECT_TRUE(fs::is_symlink(at("pipe.bin")));
    EXPECT_TRUE(fs::is_symlink(at("null.bin")));
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"folder.ini", "null.bin", "pipe", "pipe.bin"}));
}

TEST_F(FileWriteTest, KeepsHardLinksTogether) {
    folder.write("a.bin", "first content");
    fs::create_hard_link(at("a.bin"), at("b.bin"));
    ASSERT_TRUE(SaveFile(at("a.bin"), "short", message)) << message;
    EXPECT_EQ(folder.read("b.bin"), "short");
    ASSERT_TRUE(SaveFile(at("b.bin"), "a longer second content", message)) << message;
    EXPECT_EQ(folder.read("a.bin"), "a longer second content");
    EXPECT_EQ(statOf(at("a.bin")).st_nlink, 2u);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.bin", "b.bin"}));
}

// A file size limit makes writing fail part way, as a full disk does.
class FileSizeLimitGuard {
public:
    explicit FileSizeLimitGuard(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimitGuard() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimitGuard(const FileSizeLimitGuard&) = delete;
    FileSizeLimitGuard& operator=(const FileSizeLimitGuard&) = delete;

private:
    void (*previous_)(int);
    rlimit saved_{};
};

TEST_F(FileWriteTest, AWriteThatCannotFinishLeavesTheOldFileWhole) {
    folder.write("a.ini", "old settings");
    folder.write("linked.bin", "old picture");
    fs::create_hard_link(at("linked.bin"), at("other.bin"));
    bool renamed = true;
    bool inPlace = true;
    {
        const FileSizeLimitGuard limit(8);
        renamed = SaveFile(at("a.ini"), std::string(100, 'x'), message);
        EXPECT_EQ(message, notWritten("a.ini", "File too large", "write"));
        inPlace = SaveFile(at("linked.bin"), std::string(100, 'x'), message);
        EXPECT_EQ(message, notWritten("linked.bin", "File too large", "write"));
    }
    EXPECT_FALSE(renamed);
    EXPECT_FALSE(inPlace);
    EXPECT_EQ(folder.read("a.ini"), "old settings");
    EXPECT_EQ(folder.read("linked.bin"), "old picture");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.ini", "linked.bin", "other.bin"}));
}

TEST_F(FileWriteTest, ASaveBySomeoneElseKeepsTheFilesOwner) {
    const testing::Unprivileged user;
    if (!user.separateUser() || !user.available())
        GTEST_SKIP() << "only the superuser can make a file for another user";
    folder.write("theirs.ini", "old");
    user.own(at("theirs.ini"));
    ::chmod(at("theirs.ini").c_str(), 0640);
    ASSERT_TRUE(SaveFile(at("theirs.ini"), "new", message)) << message;
    const struct stat info = statOf(at("theirs.ini"));
    EXPECT_EQ(info.st_uid, user.uid());
    EXPECT_EQ(info.st_gid, user.gid());
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.read("theirs.ini"), "new");
}

class UnprivilegedWriteTest : public FileWriteTest {
protected:
    void SetUp() override {
        if (!user.available())
            GTEST_SKIP() << "no unprivileged user to write as";
        ::chmod(folder.path().c_str(), 0755);
        user.own(folder.path());
    }
    // Saves as the user; "OK" or the failure's message.
    std::string saveAs(const std::string& name, const Bytes& bytes) const {
        return user.run([&] {
            std::string result;
            SaveFile(at(name), bytes, result);
            return result;
        });
    }
    void makeFile(const std::string& name, const std::string& content, mode_t mode) const {
        folder.write(name, content);
        user.own(at(name));
        ::chmod(at(name).c_str(), mode);
    }

    testing::Unprivileged user;
};

TEST_F(UnprivilegedWriteTest, RefusesAFileMadeReadOnlyAndLeavesItAsItWas) {
    makeFile("locked.ini", "kept", 0444);
    EXPECT_EQ(saveAs("locked.ini", "new"), notWritten("locked.ini", "Permission denied"));
    EXPECT_EQ(folder.read("locked.ini"), "kept");
    EXPECT_EQ(statOf(at("locked.ini")).st_mode & 07777, 0444u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"locked.ini"});
}

TEST_F(UnprivilegedWriteTest, WritesInPlaceWhereTheFolderIsReadOnly) {
    fs::create_directory(at("fixed"));
    makeFile("fixed/a.ini", "an old and longer content", 0600);
    user.own(at("fixed"));
    ::chmod(at("fixed").c_str(), 0555);
    const ino_t inode = statOf(at("fixed/a.ini")).st_ino;

    EXPECT_EQ(saveAs("fixed/a.ini", "new"), "OK");
    EXPECT_EQ(saveAs("fixed/b.ini", "new"), notWritten("fixed/b.ini", "Permission denied"));
    ::chmod(at("fixed").c_str(), 0755);

    EXPECT_EQ(folder.read("fixed/a.ini"), "new");
    EXPECT_EQ(statOf(at("fixed/a.ini")).st_ino, inode);
    EXPECT_EQ(statOf(at("fixed/a.ini")).st_mode & 07777, 0600u);
    EXPECT_EQ(fs::directory_iterator(at("fixed"))->path().filename(), "a.ini");
    EXPECT_EQ(std::distance(fs::directory_iterator(at("fixed")), fs::directory_iterator()), 1);
}

TEST_F(UnprivilegedWriteTest, ASharedFileKeepsItsOwnerWhenAGroupMemberSavesIt) {
    if (!user.separateUser())
        GTEST_SKIP() << "only the superuser can make a file owned by someone else";
    // Owned by root, writable by the user's group: a renamed new file would belong to
    // the user, so the file is written in place instead.
    folder.write("shared.ini", "old");
    ASSERT_EQ(::chown(at("shared.ini").c_str(), 0, user.gid()), 0);
    ::chmod(at("shared.ini").c_str(), 0664);
    EXPECT_EQ(saveAs("shared.ini", "new"), "OK");
    const struct stat info = statOf(at("shared.ini"));
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(info.st_gid, user.gid());
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(folder.read("shared.ini"), "new");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"shared.ini"});
}

} // namespace
} // namespace tavisto
