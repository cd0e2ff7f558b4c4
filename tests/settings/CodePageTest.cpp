#include "settings/CodePage.h"

#include <gtest/gtest.h>
#include <set>

namespace tavisto {
namespace {

struct Sample {
    int codePage;
    std::string text; // UTF-8
    Bytes bytes;
};

// Characters outside ASCII for every code page of the code page table, with the bytes
// the Windows tables give them.
const Sample kSamples[] = {
    {437, "\xC3\xA9\xC2\xA3\xC2\xB5", "\x82\x9C\xE6"},        // é£µ
    {737, "\xCE\xA9\xCE\xB1", "\x97\x98"},                    // Ωα
    {850, "\xC3\x98\xC3\xBF", "\x9D\x98"},                    // Øÿ
    {852, "\xC5\x81\xC2\xAC", "\x9D\xAA"},                    // Ł¬
    {857, "\xC4\xB1\xC5\x9E", "\x8D\x9E"},                    // ıŞ
    {858, "\xE2\x82\xAC\xC3\x98", "\xD5\x9D"},                // €Ø
    {860, "\xC3\xA3\xC3\x95", "\x84\x99"},                    // ãÕ
    {863, "\xC3\x82\xC2\xB6", "\x84\x86"},                    // Â¶
    {864, "\xEF\xBB\xBB\xD9\xA3", "\x9D\xB3"},                // ﻻ٣
    {865, "\xC3\xB8\xC2\xA4", "\x9B\xAF"},                    // ø¤
    {866, "\xD0\x96\xD0\xB6", "\x86\xA6"},                    // Жж
    {874, "\xE0\xB8\x81\xE2\x82\xAC", "\xA1\x80"},            // ก€
    {932, "\xE6\x97\xA5\xE6\x9C\xAC\xEF\xBD\xB1\xEF\xBD\x9E", // 日本ｱ～
     "\x93\xFA\x96\x7B\xB1\x81\x60"},
    {936, "\xE4\xB8\xAD\xE6\x96\x87\xE2\x82\xAC", "\xD6\xD0\xCE\xC4\x80"}, // 中文€
    {949, "\xED\x95\x9C\xEA\xB5\xAD", "\xC7\xD1\xB1\xB9"},                 // 한국
    {950, "\xE4\xB8\xAD\xE6\x96\x87", "\xA4\xA4\xA4\xE5"},                 // 中文
    {1250, "\xC5\x81\xC5\x9B", "\xA3\x9C"},                                // Łś
    {1251, "\xD0\x96\xD0\xB6", "\xC6\xE6"},                                // Жж
    {1252, "\xE2\x82\xAC\xC3\xA9", "\x80\xE9"},                            // €é
    {1253, "\xCE\xA9\xCE\xAC", "\xD9\xDC"},                                // Ωά
    {1255, "\xD7\x90\xE2\x82\xAA", "\xE0\xA4"},                            // א₪
    {1256, "\xD8\xA8\xDA\xAF", "\xC8\x90"},                                // بگ
    {1257, "\xC4\x84\xC5\xBE", "\xC0\xFE"},                                // Ąž
    {1258, "\xE2\x82\xAB\xC6\xA0", "\xFE\xD5"},                            // ₫Ơ
    {28597, "\xCE\x91\xCE\xA9\xCE\xAC\xE2\x82\xAC", "\xC1\xD9\xDC\xA4"},   // ΑΩά€
};

TEST(CodePage, EveryCodePageConvertsBothWays) {
    for (const Sample& s : kSamples) {
        EXPECT_EQ(TextToCodePage("Az 09" + s.text, s.codePage), "Az 09" + s.bytes) << s.codePage;
        EXPECT_EQ(CodePageToText("Az 09" + s.bytes, s.codePage), "Az 09" + s.text) << s.codePage;
    }
}

// Windows maps the control bytes one to one; IBM's PC tables would swap 1A, 1C and 7F.
TEST(CodePage, ControlBytesMapToTheSameControls) {
    const std::string controls("\x00\x0A\x1A\x1C\x7F", 5);
    for (int codePage : {437, 852, 864, 866, 932, 1252, 28597}) {
        EXPECT_EQ(TextToCodePage(controls, codePage), controls) << codePage;
        EXPECT_EQ(CodePageToText(controls, codePage), controls) << codePage;
    }
    // The split at such a byte does not disturb the double-byte text around it.
    EXPECT_EQ(TextToCodePage("\xE6\x97\xA5\x7F\xE6\x9C\xAC", 932), "\x93\xFA\x7F\x96\x7B");
    EXPECT_EQ(CodePageToText("\x93\xFA\x1A\x96\x7B", 932), "\xE6\x97\xA5\x1A\xE6\x9C\xAC");
}

TEST(CodePage, EveryDefinedByteOfASingleByteCodePageSurvivesTheRoundTrip) {
    for (int codePage : {437, 737,  850,  852,  857,  858,  860,  863,  864,  865,  866,
                         874, 1250, 1251, 1252, 1253, 1255, 1256, 1257, 1258, 28597}) {
        for (int b = 0; b < 256; ++b) {
            const Bytes byte(1, static_cast<char>(b));
            const std::string text = CodePageToText(byte, codePage);
            ASSERT_FALSE(text.empty()) << codePage << " byte " << b;
            if (text == "\xEF\xBF\xBD")
                continue; // no character there
            EXPECT_EQ(TextToCodePage(text, codePage), byte) << codePage << " byte " << b;
        }
    }
}

// Best fits of the tables that Windows makes as well; without the tables' fallbacks all
// of these would be "?".
TEST(CodePage, BestFitMappingsOfTheTableAreUsed) {
    EXPECT_EQ(TextToCodePage("\xC2\xA5", 932), "\x5C");     // ¥ to the yen/backslash byte
    EXPECT_EQ(TextToCodePage("\xEF\xBC\x81", 1252), "!");   // fullwidth !
    EXPECT_EQ(TextToCodePage("\xEF\xBC\xBA", 437), "Z");    // fullwidth Z
    EXPECT_EQ(TextToCodePage("\xC3\x83", 950), "A");        // Ã
    EXPECT_EQ(TextToCodePage("\xC2\xA2", 936), "\xA1\xE9"); // ¢ to fullwidth ¢
    EXPECT_EQ(TextToCodePage("\xC2\xA2", 949), "\xA1\xCB"); // ¢ to fullwidth ¢
    EXPECT_EQ(TextToCodePage("\xCE\xBC", 437), "\xE6");     // Greek mu to the micro sign
    EXPECT_EQ(CodePageToText("\x81", 1252), "\xC2\x81");    // undefined in 1252: U+0081
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(TextToCodePage("a\xE4\xB8\xAD"
                             "b",
                             1252),
              "a?b"); // 中
    EXPECT_EQ(TextToCodePage("\xE4\xB8\xAD", 437), "?");
    EXPECT_EQ(TextToCodePage("\xE2\x98\x83", 932), "?"); // ☃
    EXPECT_EQ(TextToCodePage("\xE2\x98\x83", 950), "?");
    EXPECT_EQ(TextToCodePage("\xF0\x9F\x98\x80", 936), "?"); // U+1F600, a surrogate pair
    EXPECT_EQ(TextToCodePage("\xD0\x96", 28597), "?");       // Ж
    // Best fits of IBM's tables that Windows does not make: fullwidth forms in 860,
    // Arabic letters to their presentation forms in 864.
    EXPECT_EQ(TextToCodePage("\xEF\xBC\x81", 860), "?"); // fullwidth !
    EXPECT_EQ(TextToCodePage("\xD8\xA8", 864), "?");     // ب
    // Invisible characters are substituted too, not dropped.
    EXPECT_EQ(TextToCodePage("a\xE2\x80\x8B"
                             "b",
                             1252),
              "a?b");                                    // zero-width space
    EXPECT_EQ(TextToCodePage("\xEF\xBB\xBF", 932), "?"); // byte order mark
}

TEST(CodePage, MalformedInputIsSubstitutedNotFatal) {
    EXPECT_EQ(TextToCodePage("a\xC3", 1252), "a?");     // cut UTF-8 sequence
    EXPECT_EQ(TextToCodePage("\xFF\x80x", 437), "??x"); // bytes that are never UTF-8
    EXPECT_EQ(TextToCodePage("\xED\xA0\x80", 1252).find_first_not_of('?'), Bytes::npos);
    EXPECT_EQ(CodePageToText("\x93", 932), "\xEF\xBF\xBD"); // lead byte without a trail
    EXPECT_EQ(CodePageToText("A\x81", 936), "A\xEF\xBF\xBD");
    const std::string text = CodePageToText("\xA4\x40\xFF\xFF\x81", 950);
    EXPECT_EQ(text.substr(0, 3), "\xE4\xB8\x80"); // 一
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(CodePage, UnknownCodePagesGiveEmptyResults) {
    for (int codePage : {0, -1, 1254, 65001, 936000}) {
        EXPECT_EQ(TextToCodePage("abc", codePage), "") << codePage;
        EXPECT_EQ(CodePageToText("abc", codePage), "") << codePage;
    }
    EXPECT_EQ(TextToCodePage("", 437), "");
    EXPECT_EQ(CodePageToText("", 437), "");
}

} // namespace
} // namespace tavisto
