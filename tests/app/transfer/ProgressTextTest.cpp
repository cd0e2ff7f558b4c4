#include "app/transfer/ProgressText.h"

#include <clocale>
#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

TTransferStatus running(double bytesPerSecond, int secondsLeft) {
    TTransferStatus status;
    status.running = true;
    status.bytesPerSecond = bytesPerSecond;
    status.secondsLeft = secondsLeft;
    return status;
}

// 1 KB is 1024 bytes, as the window has always shown it; the terminal says the same.
TEST(ProgressText, RateCountsKilobytesOf1024Bytes) {
    EXPECT_EQ(RateText(running(1, -1)), "1 B/s");
    EXPECT_EQ(RateText(running(1023.9, -1)), "1023 B/s");
    EXPECT_EQ(RateText(running(1024, -1)), "1.0 KB/s");
    EXPECT_EQ(RateText(running(12000, -1)), "11.7 KB/s");
    EXPECT_EQ(RateText(running(1024 * 1024 - 1, -1)), "1024.0 KB/s");
    EXPECT_EQ(RateText(running(1.5 * 1024 * 1024, -1)), "1.5 MB/s");
}

TEST(ProgressText, TimeLeftInMinutesAndSeconds) {
    EXPECT_EQ(TimeLeftText(running(1024, 0)), "0:00 left");
    EXPECT_EQ(TimeLeftText(running(1024, 65)), "1:05 left");
    EXPECT_EQ(TimeLeftText(running(1024, 779)), "12:59 left");
    EXPECT_EQ(TimeLeftText(running(1024, 6000)), "100:00 left");
}

TEST(ProgressText, NothingWhileUnknownOrIdle) {
    EXPECT_EQ(RateText(running(0, 10)), "");
    EXPECT_EQ(TimeLeftText(running(0, 10)), ""); // no rate, no estimate
    EXPECT_EQ(TimeLeftText(running(1024, -1)), "");
    TTransferStatus idle = running(2048, 10);
    idle.running = false;
    EXPECT_EQ(RateText(idle), "");
    EXPECT_EQ(TimeLeftText(idle), "");
}

// The window sets the process locale from the environment; a decimal comma there
// must not reach the texts.
TEST(ProgressText, DecimalPointWhateverTheLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    const std::string rate = RateText(running(1536, -1));
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(rate, "1.5 KB/s");
}

} // namespace
} // namespace tavisto::testing
