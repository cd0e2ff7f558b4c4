#include "sim/device/FrameParser.h"

#include "HostPort.h"

#include <gtest/gtest.h>

namespace tavisto::sim::test {
namespace {

// Feeds the parser on a made-up clock and records what comes out.
class ParserDriver {
public:
    std::vector<Frame> frames;
    FrameParser parser;
    SteadyTime now{};

    void feed(const Bytes& bytes, Millis gapAfter = 0ms) {
        for (unsigned char c : bytes)
            parser.feed(c, now, [this](Frame&& f) { frames.push_back(std::move(f)); });
        pass(gapAfter);
    }
    void pass(Millis time) {
        now += time;
        parser.idle(now, [this](Frame&& f) { frames.push_back(std::move(f)); });
    }
};

TEST(FrameParser, AssemblesFramesWhateverPiecesTheyArriveIn) {
    ParserDriver d;
    d.feed(hex("02 07"), 5ms);
    d.feed(hex("16"), 5ms);
    d.feed(hex("01 02 07 0E 99"), 5ms);
    d.feed(hex("66 33 1F 24 05 02 41 42"));
    d.pass(50ms);
    ASSERT_EQ(d.frames.size(), 4u);
    EXPECT_EQ(d.frames[0].type, FrameType::ModelQuery);
    EXPECT_EQ(d.frames[1].type, FrameType::TextColor);
    EXPECT_EQ(d.frames[1].bytes, hex("02 07 0E 99 66 33"));
    EXPECT_EQ(d.frames[2].type, FrameType::CursorTo);
    EXPECT_EQ(d.frames[3].type, FrameType::Text);
    EXPECT_EQ(d.frames[3].text, "AB");
}

TEST(FrameParser, TextParametersEndAtTheirTerminator) {
    ParserDriver d;
    d.feed(hex("02 07 16 06") + "Hello" + hex("00"));
    d.feed(hex("02 07 16 06 00"));
    d.feed(hex("02 07 1D 03 00") + "abc" + hex("00"));
    d.feed(hex("02 07 05 01") + "a.bin,5,4660\n");
    ASSERT_EQ(d.frames.size(), 4u);
    EXPECT_EQ(d.frames[0].type, FrameType::WelcomeLine1);
    EXPECT_EQ(d.frames[0].text, "Hello");
    EXPECT_EQ(d.frames[1].text, "");
    EXPECT_EQ(d.frames[2].type, FrameType::QrCode);
    EXPECT_EQ(d.frames[2].text, "abc");
    EXPECT_EQ(d.frames[3].type, FrameType::MakeFile);
    EXPECT_EQ(d.frames[3].text, "a.bin,5,4660");
}

TEST(FrameParser, MainTextEndsWhenTheLineIdlesOrAtEightyBytes) {
    ParserDriver d;
    d.feed(hex("02 07 18") + "HELLO", 10ms);
    EXPECT_TRUE(d.frames.empty()) << "a short pause does not end the text";
    d.feed("WORLD", 25ms);
    ASSERT_EQ(d.frames.size(), 1u);
    EXPECT_EQ(d.frames[0].type, FrameType::MainText);
    EXPECT_EQ(d.frames[0].text, "HELLOWORLD");

    // 80 bytes end the text at once; what follows is a frame of its own.
    d.frames.clear();
    d.feed(hex("02 07 18") + std::string(80, 'x') + hex("02 07 16 01"));
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[0].text.size(), 80u);
    EXPECT_EQ(d.frames[1].type, FrameType::ModelQuery);
}

TEST(FrameParser, DigitsEndAtANonDigitOrWhenTheLineIdles) {
    ParserDriver d;
    d.feed(hex("02 43 31 32 02 42 34"));
    ASSERT_EQ(d.frames.size(), 1u);
    EXPECT_EQ(d.frames[0].type, FrameType::CommandMode);
    EXPECT_EQ(d.frames[0].text, "12");
    d.pass(25ms);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[1].type, FrameType::BaudCode);
    EXPECT_EQ(d.frames[1].text, "4");
}

TEST(FrameParser, RejectsUnknownAndBrokenFramesAndResynchronises) {
    ParserDriver d;
    d.feed(hex("02 07 99"));                // unknown command code
    d.feed(hex("02 07 15 27 02 07 16 02")); // broken factory reset, then a query
    d.feed(hex("03"));                      // unknown control byte
    d.feed(hex("1F 99"));                   // unknown 1F sequence
    d.feed(hex("02 43 41"));                // command mode without digits
    ASSERT_EQ(d.frames.size(), 6u);
    EXPECT_EQ(d.frames[0].type, FrameType::Rejected);
    EXPECT_EQ(d.frames[0].bytes, hex("02 07 99"));
    EXPECT_EQ(d.frames[1].type, FrameType::Rejected);
    EXPECT_EQ(d.frames[1].bytes, hex("02 07 15 27"));
    EXPECT_EQ(d.frames[2].type, FrameType::VersionQuery);
    EXPECT_EQ(d.frames[3].bytes, hex("03"));
    EXPECT_EQ(d.frames[4].bytes, hex("1F 99"));
    EXPECT_EQ(d.frames[5].type, FrameType::Rejected);
}

TEST(FrameParser, DropsAnUnfinishedFrameAfterTheLineStaysQuiet) {
    ParserDriver d;
    d.feed(hex("02 07 0E 99"), 100ms);
    EXPECT_TRUE(d.frames.empty());
    d.pass(150ms);
    ASSERT_EQ(d.frames.size(), 1u);
    EXPECT_EQ(d.frames[0].type, FrameType::Rejected);
    // The next frame starts afresh.
    d.feed(hex("02 07 16 01"));
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[1].type, FrameType::ModelQuery);
}

TEST(FrameParser, ControlBytesSplitTextRuns) {
    ParserDriver d;
    d.feed(hex("0B") + "ABC" + hex("0D 0C") + "D");
    d.pass(25ms);
    ASSERT_EQ(d.frames.size(), 5u);
    EXPECT_EQ(d.frames[0].type, FrameType::Control);
    EXPECT_EQ(d.frames[1].text, "ABC");
    EXPECT_EQ(d.frames[2].type, FrameType::Control);
    EXPECT_EQ(d.frames[3].type, FrameType::ClearDisplay);
    EXPECT_EQ(d.frames[4].text, "D");
}

TEST(FrameParser, TakesDataBytesAsTheyAreWhenAskedTo) {
    ParserDriver d;
    d.parser.expectData(5);
    d.feed(hex("02 07 16 01 00"));
    ASSERT_EQ(d.frames.size(), 1u);
    EXPECT_EQ(d.frames[0].type, FrameType::RawData);
    EXPECT_EQ(d.frames[0].text, hex("02 07 16 01 00"));

    d.parser.expectData(4);
    d.feed("ab", 2500ms);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[1].type, FrameType::Rejected) << "data that stops is given up";
}

TEST(FrameParser, TransferFramesOnlyWhileATransferExpectsThem) {
    ParserDriver d;
    Bytes block = "ACT=0,L=100," + hex("00 00 00 00") + std::string(256, 'z') + hex("12 34");
    d.feed("ACT", 25ms);
    ASSERT_EQ(d.frames.size(), 1u);
    EXPECT_EQ(d.frames[0].type, FrameType::Text);

    d.parser.setTransferFrames(true);
    d.feed(block);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[1].type, FrameType::TransferFrame);
    EXPECT_EQ(d.frames[1].bytes.size(), 274u);

    d.feed("ACT=7");
    ASSERT_EQ(d.frames.size(), 3u);
    EXPECT_EQ(d.frames[2].type, FrameType::Rejected);
}

} // namespace
} // namespace tavisto::sim::test
