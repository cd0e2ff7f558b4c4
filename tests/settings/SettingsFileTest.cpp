#include "settings/SettingsFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

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

TEST(SettingsFileLimit, ReadsUpToAMegabyteAndRefusesMore) {
    testing::TempFolder folder;
    const fs::path path = folder.path() / "big.ini";
    folder.write("big.ini", "");
    fs::resize_file(path, 1024 * 1024);
    Bytes bytes;
    std::string message;
    EXPECT_TRUE(ReadFileBounded(path, kSettingsFileLimit, bytes, message)) << message;
    fs::resize_file(path, 1024 * 1024 + 1);
    EXPECT_FALSE(ReadFileBounded(path, kSettingsFileLimit, bytes, message));
    EXPECT_EQ(message, "The file \"" + path.string() + "\" is too large for a settings file.");
}

} // namespace
} // namespace tavisto
