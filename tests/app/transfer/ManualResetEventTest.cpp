#include "app/transfer/ManualResetEvent.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace tavisto {
namespace {

using std::chrono::milliseconds;

TEST(ManualResetEvent, StaysSetUntilReset) {
    ManualResetEvent event(true);
    EXPECT_TRUE(event.IsSignalled());
    EXPECT_TRUE(event.WaitFor(milliseconds(0)));
    EXPECT_TRUE(event.WaitFor(milliseconds(0))); // waiting does not consume it
    event.ResetEvent();
    EXPECT_FALSE(event.IsSignalled());
    EXPECT_FALSE(event.WaitFor(milliseconds(1)));
}

TEST(ManualResetEvent, SettingReleasesEveryWaiter) {
    ManualResetEvent event(false);
    std::atomic<int> released = 0;
    std::thread a([&] { released += event.WaitFor(milliseconds(60000)); });
    std::thread b([&] { released += event.WaitFor(milliseconds(60000)); });
    event.SetEvent();
    a.join();
    b.join();
    EXPECT_EQ(released, 2);
}

} // namespace
} // namespace tavisto
