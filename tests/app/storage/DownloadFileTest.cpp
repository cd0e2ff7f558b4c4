#include "app/storage/DownloadFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

class DownloadFileTest : public ::testing::Test {
protected:
    // A file of `size` bytes (sparse: nothing is written).
    std::string fileOfSize(const std::string& name, std::uintmax_t size) const {
        folder.write(name, "");
        std::filesystem::resize_file(folder.path() / name, size);
        return (folder.path() / name).string();
    }

    TempFolder folder;
};

// The limit is the download file's own, and an error calls the file what it is.
TEST_F(DownloadFileTest, ReadsUpToItsOwnLimitAndNamesTheFileAsADownloadFile) {
    Bytes bytes;
    std::string message;
    ASSERT_TRUE(ReadDownloadFile(fileOfSize("fits.bin", kDownloadFileLimit.bytes), bytes, message))
        << message;
    EXPECT_EQ(bytes.size(), kDownloadFileLimit.bytes);

    const std::string large = fileOfSize("large.bin", kDownloadFileLimit.bytes + 1);
    bytes = "kept";
    EXPECT_FALSE(ReadDownloadFile(large, bytes, message));
    EXPECT_EQ(message,
              "The file \"" + large + "\" is too large for a download file (16 MB at most).");
    EXPECT_EQ(bytes, "kept");
}

TEST_F(DownloadFileTest, AnEmptyFileHasNothingToSend) {
    Bytes bytes;
    std::string message;
    const std::string empty = fileOfSize("empty.bin", 0);
    EXPECT_FALSE(ReadDownloadFile(empty, bytes, message));
    EXPECT_EQ(message, "\"" + empty + "\" is empty: there is nothing to send.");
}

} // namespace
} // namespace tavisto::testing
