#include "BareDisplay.h"
#include "HostPort.h"

#include <gtest/gtest.h>

namespace tavisto::sim::test {
namespace {

const Bytes kAskModel = hex("02 07 16 01");

TEST(Faults, SilentDisplayTakesFramesButAnswersNothing) {
    SimFixture f;
    Faults faults;
    faults.silent = true;
    f.sim().setFaults(faults);
    f.tell(kAskModel);
    f.tell(hex("02 07 0E 01 02 03"));
    EXPECT_EQ(f.sim().count(LogKind::Answered), 0u);
    EXPECT_EQ(f.sim().state().settings.font_Foreground_color, 0x0000);
    f.sim().setFaults({});
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
}

// A text run ends only when a control byte follows it: here the next frame's first
// byte, so the display goes silent while the parser still holds that byte.
TEST(Faults, SilentAfterAFrameThatTheNextByteEnds) {
    BareDisplay d;
    Faults faults;
    faults.silentAfter = "AB";
    d.display.setFaults(faults);
    std::vector<Reply> replies;
    for (unsigned char c : "AB" + kAskModel)
        d.display.receive(c, d.now, replies);
    d.now += std::chrono::seconds(1);
    d.display.tick(d.now, replies);
    EXPECT_TRUE(replies.empty());
    EXPECT_EQ(d.journal.count(LogKind::Answered), 0u);
    EXPECT_EQ(d.journal.count(LogKind::Received), 1u); // the text run, nothing after
}

TEST(Faults, WrongAndShortEchoes) {
    SimFixture f;
    Faults faults;
    faults.wrongEcho = true;
    f.sim().setFaults(faults);
    EXPECT_EQ(f.ask(hex("02 07 0A"), 3), hex("02 07 0B"));
    EXPECT_EQ(f.ask(hex("02 07 0E 99 66 33"), 6), hex("02 07 0E 99 66 32"));

    faults = {};
    faults.shortEcho = true;
    f.sim().setFaults(faults);
    f.host().send(hex("02 07 0E 99 66 33"));
    EXPECT_EQ(f.host().readCount(6, 500ms), hex("02 07 0E 99 66"));
    // Other replies are not echoes and stay whole.
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
}

TEST(Faults, ModelAndVersionRepliesCanBeAnything) {
    SimFixture f;
    Faults faults;
    faults.modelReply = Bytes("kt350-mk") + '\0';
    faults.versionReply = hex("00 0E");
    f.sim().setFaults(faults);
    EXPECT_EQ(f.ask(kAskModel, 9), Bytes("kt350-mk") + '\0');
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 2), hex("00 0E"));
}

TEST(Faults, EmptyInjectedReplyHoldsNothingBack) {
    for (const bool pacing : {false, true}) {
        SCOPED_TRACE(pacing ? "paced" : "unpaced");
        SimFixture f;
        Faults faults;
        faults.versionReply = Bytes();
        faults.pacing = pacing;
        f.sim().setFaults(faults);
        f.host().send(hex("02 07 16 02"));
        EXPECT_EQ(f.host().readFor(100ms), Bytes());
        EXPECT_TRUE(f.sim().waitUntilQuiet(1000ms));
        EXPECT_EQ(f.ask(kAskModel, 9), Bytes("KT350-MK") + '\0');

        faults.modelReply = Bytes();
        faults.versionReply.reset();
        f.sim().setFaults(faults);
        f.host().send(kAskModel);
        EXPECT_EQ(f.host().readFor(100ms), Bytes());
        EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
    }
}

TEST(Faults, SplitReplyLeavesInTwoPiecesThatTogetherMakeTheReply) {
    SimFixture f;
    Faults faults;
    faults.splitAt = 6;
    faults.splitPause = 30ms;
    f.sim().setFaults(faults);
    EXPECT_EQ(f.ask(kAskModel, 9), Bytes("KT350-MK") + '\0');
    auto answers = f.sim().answers();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], "KT350-");
    EXPECT_EQ(answers[1], Bytes("MK") + '\0');
}

TEST(Faults, GarbageBeforeEveryReply) {
    SimFixture f;
    Faults faults;
    faults.garbage = hex("FF 00 41");
    f.sim().setFaults(faults);
    EXPECT_EQ(f.ask(hex("02 07 0A"), 6), hex("FF 00 41 02 07 0A"));
}

TEST(Faults, PacingDeliversAtTheWireRate) {
    SimFixture f;
    Faults faults;
    faults.pacing = true;
    f.sim().setFaults(faults);
    f.host().send(hex("02 07 16 05"));
    Bytes reply = f.host().readUntil('\0');
    ASSERT_GT(reply.size(), 400u);
    EXPECT_EQ(reply.substr(0, 10), "{\"temp1\":0");
    // The display's own log: the last byte cannot leave before the wire has carried
    // the reply out (ten bits a byte at 9600 baud). The query is logged a moment after
    // the pacing clock starts, later still on a loaded machine: eight bytes of slack,
    // which an unpaced reply (all of it at once) is still far outside.
    auto log = f.sim().log();
    SteadyTime queried{}, answered{};
    for (const LogEntry& e : log) {
        if (e.kind == LogKind::Received)
            queried = e.time;
        if (e.kind == LogKind::Answered)
            answered = e.time;
    }
    const auto wire = std::chrono::microseconds(1'000'000LL * 10 * (reply.size() - 8) / 9600);
    EXPECT_GE(answered - queried, wire);
}

} // namespace
} // namespace tavisto::sim::test
