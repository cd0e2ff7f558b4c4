#include "settings/HostCodePage.h"

#include <gtest/gtest.h>

namespace tavisto {
namespace {

TEST(HostCodePage, EveryByteSurvivesTheRoundTrip) {
    Bytes all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(TextToHostBytes(HostBytesToText(all)), all);
    EXPECT_EQ(HostBytesToText("\xE9"), "\xC3\xA9"); // é
}

TEST(HostCodePage, CharactersOutsideLatin1BecomeQuestionMarks) {
    EXPECT_EQ(TextToHostBytes("a\xE4\xB8\xAD"
                              "b"),
              "a?b");                                    // U+4E2D
    EXPECT_EQ(TextToHostBytes("\xF0\x9F\x98\x80"), "?"); // U+1F600
    EXPECT_EQ(TextToHostBytes("x\xC3"), "x?");           // cut sequence
    EXPECT_EQ(TextToHostBytes("\x80y"), "?y");           // stray continuation
}

} // namespace
} // namespace tavisto
