#include "app/trace/TraceText.h"

#include "app/trace/TraceFile.h"
#include "tests/support/TempFolder.h"

#include <ctime>
#include <gtest/gtest.h>

namespace tavisto {
namespace {

// 14:03:07.125 local time today, whatever the machine's time zone.
std::chrono::system_clock::time_point at140307125() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    local.tm_hour = 14;
    local.tm_min = 3;
    local.tm_sec = 7;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
           std::chrono::milliseconds(125);
}

TEST(TraceTextTest, FramesGetTimeDirectionHexAndPrintableText) {
    const auto time = at140307125();
    EXPECT_EQ(ReadableTraceLine({time, "----> 02071601"}),
              "14:03:07.125  sent      02 07 16 01  |....|");
    EXPECT_EQ(ReadableTraceLine({time, "<---- 4B543335302D4D4B00"}),
              "14:03:07.125  received  4B 54 33 35 30 2D 4D 4B 00  |KT350-MK.|");
    // Bytes outside printable ASCII (7F, high bytes, space's neighbours) become dots.
    EXPECT_EQ(ReadableTraceLine({time, "<---- 1F207E7F80FF"}),
              "14:03:07.125  received  1F 20 7E 7F 80 FF  |. ~...|");
    EXPECT_EQ(ReadableTraceLine({time + std::chrono::milliseconds(7), "----> "}),
              "14:03:07.132  sent        ||");
}

TEST(TraceTextTest, OtherLinesFollowTheTimeUnchanged) {
    const auto time = at140307125();
    for (const char* line : {"hello", "----> 0207G1", "<---- 020", "---->02"})
        EXPECT_EQ(ReadableTraceLine({time, line}), std::string("14:03:07.125  ") + line);
}

TEST(TraceFileTest, AppendsReadableLinesAndKeepsWhatWasThere) {
    testing::TempFolder folder;
    folder.write("trace.txt", "earlier run\n");
    Trace trace;
    std::string message;
    auto file = TraceFile::Open((folder.path() / "trace.txt").string(), trace, message);
    ASSERT_TRUE(file) << message;
    trace.TraceLine("----> 0C");
    EXPECT_TRUE(file->Finish(message)) << message;
    trace.TraceLine("----> 0D"); // after Finish: not written
    const std::string text = folder.read("trace.txt");
    ASSERT_TRUE(text.starts_with("earlier run\n")) << text;
    EXPECT_EQ(text.substr(12 + 12), "  sent      0C  |.|\n") << text;
}

TEST(TraceFileTest, SaysWhyTheFileCannotBeOpenedOrWritten) {
    Trace trace;
    std::string message;
    EXPECT_FALSE(TraceFile::Open("/nonexistent-folder/trace.txt", trace, message));
    EXPECT_EQ(message, "cannot write the trace file /nonexistent-folder/trace.txt: No such file or "
                       "directory");
    EXPECT_FALSE(trace.enabled());

    // A full disk: the run goes on, and the end of it says the file is incomplete.
    auto full = TraceFile::Open("/dev/full", trace, message);
    ASSERT_TRUE(full) << message;
    trace.TraceLine("----> 0C");
    trace.TraceLine("----> 0D");
    EXPECT_FALSE(full->Finish(message));
    EXPECT_EQ(message, "the trace file /dev/full is incomplete: No space left on device");
}

} // namespace
} // namespace tavisto
