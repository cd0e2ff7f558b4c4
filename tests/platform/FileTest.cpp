// The Win32 file module: bounded reads of regular files and saves that keep what the
// user had, with Windows' own messages.
#include "files/FileRead.h"
#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "link/Win32Text.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <windows.h>

namespace tavisto {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tavisto-files-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder);
    }

    void put(const fs::path& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string content(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path folder;
    std::string message;
    Bytes bytes = "untouched";
};

TEST_F(Files, ReadsARegularFileWithinItsLimitOnly) {
    put(folder / "a.bin", "12345");
    ASSERT_TRUE(ReadFileBounded(folder / "a.bin", {5, "a test"}, bytes, message)) << message;
    EXPECT_EQ(bytes, "12345");
    EXPECT_EQ(message, "OK");

    bytes = "untouched";
    EXPECT_FALSE(ReadFileBounded(folder / "a.bin", {4, "a test"}, bytes, message));
    EXPECT_EQ(message, "The file \"" + (folder / "a.bin").string() + "\" is too large for a test.");
    EXPECT_EQ(bytes, "untouched");
}

TEST_F(Files, RefusesWhatIsNoFileWithTheSystemsReason) {
    EXPECT_FALSE(ReadFileBounded(folder / "missing.bin", {100, "a test"}, bytes, message));
    EXPECT_EQ(message, "Cannot open file \"" + (folder / "missing.bin").string() + "\". " +
                           win32::SystemMessage(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(ReadFileBounded(folder, {100, "a test"}, bytes, message));
    EXPECT_EQ(message, "Cannot open file \"" + folder.string() + "\". Is a directory");

    // A named pipe with nobody writing must not stop the program.
    const std::wstring pipeName =
        L"\\\\.\\pipe\\tavisto-test-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0,
                                   0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReadFileBounded(fs::path(pipeName), {100, "a test"}, bytes, message));
    CloseHandle(pipe);
    EXPECT_EQ(bytes, "untouched");
}

TEST_F(Files, ASaveReplacesTheFileAndKeepsItsAttributes) {
    const fs::path path = folder / "settings.ini";
    ASSERT_TRUE(SaveFile(path, "first", message)) << message;
    EXPECT_EQ(content(path), "first");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    ASSERT_TRUE(SaveFile(path, "second, longer", message)) << message;
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(content(path), "second, longer");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(names(), std::vector<std::string>{"settings.ini"}); // no temporary file left
}

TEST_F(Files, ASaveRefusesReadOnlyFilesAndFolders) {
    const fs::path path = folder / "locked.ini";
    put(path, "old");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveFile(path, "new", message));
    EXPECT_EQ(message, "Cannot write file \"" + path.string() + "\". " +
                           win32::SystemMessage(ERROR_ACCESS_DENIED));
    EXPECT_EQ(content(path), "old");

    fs::create_directory(folder / "sub");
    EXPECT_FALSE(SaveFile(folder / "sub", "new", message));
    EXPECT_EQ(message, "Cannot write file \"" + (folder / "sub").string() + "\". Is a directory");
    EXPECT_EQ(names(), (std::vector<std::string>{"locked.ini", "sub"}));
}

TEST_F(Files, AFileWithOtherHardLinksIsWrittenInPlace) {
    const fs::path path = folder / "a.ini";
    put(path, "old content");
    ASSERT_TRUE(CreateHardLinkW((folder / "b.ini").c_str(), path.c_str(), nullptr));
    ASSERT_TRUE(SaveFile(path, "new", message)) << message;
    EXPECT_EQ(content(path), "new");
    EXPECT_EQ(content(folder / "b.ini"), "new");
}

// The program's file names are UTF-8; the system's are UTF-16. A name outside the ANSI
// code page must reach the system as its own characters, and come back in messages as
// the same UTF-8.
TEST_F(Files, AUtf8NameIsTheSameNameOnTheSystem) {
    const std::string name = "\xE6\x94\xB6\xE9\x93\xB6\xE5\x8F\xB0.ini"; // 收银台.ini
    const fs::path path = folder / PathFromUtf8(name);
    ASSERT_TRUE(SaveFile(path, "saved", message)) << message;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder / L"*.ini").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(std::wstring(found.cFileName), L"\x6536\x94F6\x53F0.ini");
    ASSERT_TRUE(ReadFileBounded(path, {100, "a test"}, bytes, message)) << message;
    EXPECT_EQ(bytes, "saved");
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(name)), name);

    const std::string missing = "\xE7\xBC\xBA.bin"; // 缺.bin
    EXPECT_FALSE(ReadFileBounded(folder / PathFromUtf8(missing), {100, "a test"}, bytes, message));
    EXPECT_EQ(message, "Cannot open file \"" + Utf8FromPath(folder) + "\\" + missing + "\". " +
                           win32::SystemMessage(ERROR_FILE_NOT_FOUND));

    // Neither direction throws on what it cannot convert: a broken UTF-8 sequence and an
    // unpaired surrogate (which a Windows name may hold) both become U+FFFD.
    EXPECT_EQ(PathFromUtf8("a\xFF.bin").native(), L"a\xFFFD.bin");
    EXPECT_EQ(Utf8FromPath(fs::path(L"a\xD800.bin")), "a\xEF\xBF\xBD.bin");
}

} // namespace
} // namespace tavisto
