#include "HostPort.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tavisto::sim::test {
namespace {

const Bytes kModelQuery = hex("02 07 16 01");
const Bytes kModelReply = Bytes("KT350-MK") + '\0';

bool waitForNote(const VirtualDisplay& sim, const std::string& text) {
    for (std::size_t seen = 1; sim.waitForCount(LogKind::Note, seen, 3000ms); ++seen) {
        for (const LogEntry& e : sim.log()) {
            if (e.kind == LogKind::Note && e.text == text)
                return true;
        }
    }
    return false;
}

TEST(Line, AHostAtAnotherSpeedIsNotUnderstood) {
    SimFixture f;
    f.reopen(19200);
    f.host().send(kModelQuery);
    ASSERT_TRUE(f.sim().waitForCount(LogKind::Dropped, 1, 3000ms));
    EXPECT_EQ(f.sim().count(LogKind::Received), 0u);
    // Back at the display's speed, the first bytes to arrive are the answer to the
    // new query: nothing was answered to the first.
    f.reopen(9600);
    EXPECT_EQ(f.ask(kModelQuery, kModelReply.size()), kModelReply);
}

TEST(Line, BaudRateCodeSwitchesTheDisplayAfterTheFrame) {
    SimFixture f;
    f.tell(hex("02 42 34"));
    EXPECT_EQ(f.sim().baudRate(), 115200);
    EXPECT_EQ(f.sim().state().settings.Baud_Rate, 4);
    f.host().send(kModelQuery);
    ASSERT_TRUE(f.sim().waitForCount(LogKind::Dropped, 1, 3000ms));
    f.reopen(115200);
    EXPECT_EQ(f.ask(kModelQuery, kModelReply.size()), kModelReply);
}

TEST(Line, LinkBaudRateTakesEffectRightAfterItsFrame) {
    SimFixture f;
    // The query behind the switch in the same write still travels at 9600: lost.
    f.host().send(hex("02 07 04 00 01 C2 00") + kModelQuery);
    ASSERT_TRUE(f.sim().waitForCount(LogKind::Dropped, 1, 3000ms));
    EXPECT_EQ(f.sim().baudRate(), 115200);
    EXPECT_EQ(f.sim().log().back().bytes, kModelQuery);
    f.host().setSpeed(115200);
    EXPECT_EQ(f.ask(kModelQuery, kModelReply.size()), kModelReply);
    // The stored speed is unchanged, so a restart comes back at 9600.
    EXPECT_EQ(f.sim().state().settings.Baud_Rate, 0);
    f.tell(hex("02 1D AA 55"));
    EXPECT_EQ(f.sim().baudRate(), 9600);
    f.host().setSpeed(9600);
    EXPECT_EQ(f.ask(kModelQuery, kModelReply.size()), kModelReply);
}

TEST(Line, FactoryResetReturnsToTheDefaultSpeed) {
    SimOptions options;
    options.baudRate = 38400;
    SimFixture f(options);
    EXPECT_EQ(f.sim().state().settings.Baud_Rate, 2);
    f.tell(hex("02 07 15 27 27"));
    EXPECT_EQ(f.sim().baudRate(), 9600);
}

// A host that opens, asks, closes and opens again, sometimes with a second handle
// opened and closed while the reply is due (a one-shot command does that), gets
// every reply: the display never takes a passing open or close for the host leaving.
TEST(Line, NoReplyIsLostToTheHostsOpensAndCloses) {
    SimFixture f;
    const std::string path = f.sim().devicePath();
    f.closeHost();
    constexpr int kCycles = 1000;
    for (int i = 0; i < kCycles; ++i) {
        HostPort port(path, 9600);
        ASSERT_TRUE(port.isOpen()) << "open " << i;
        port.send(kModelQuery);
        if (i % 2 == 1) {
            const int second = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            ASSERT_GE(second, 0) << "second open " << i;
            ::close(second);
        }
        ASSERT_EQ(port.readCount(kModelReply.size()), kModelReply) << "cycle " << i;
    }
    EXPECT_EQ(f.sim().count(LogKind::Received), static_cast<std::size_t>(kCycles));
    EXPECT_EQ(f.sim().count(LogKind::Dropped), 0u);
}

TEST(Line, AReplyThatArrivesAfterTheHostClosedIsLost) {
    SimFixture f;
    Faults faults;
    faults.splitAt = 3;
    faults.splitPause = 300ms;
    f.sim().setFaults(faults);
    f.host().send(kModelQuery);
    EXPECT_EQ(f.host().readCount(3), "KT3");
    f.closeHost();
    ASSERT_TRUE(f.sim().waitForCount(LogKind::Dropped, 1, 3000ms));
    f.reopen(9600);
    f.sim().setFaults({});
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
    EXPECT_EQ(f.host().readFor(50ms), "");
}

TEST(Line, UnreadBytesDoNotWaitForTheNextOpen) {
    SimFixture f;
    f.host().send(kModelQuery);
    ASSERT_TRUE(f.sim().waitForCount(LogKind::Answered, 1, 3000ms));
    f.closeHost(); // without reading the reply
    ASSERT_TRUE(waitForNote(f.sim(), "port closed by the host"));
    f.reopen(9600);
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
}

TEST(Line, SymbolicLinkLeadsToTheDevice) {
    char dir[] = "/tmp/tavisto-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/display";
    {
        SimOptions options;
        options.linkPath = link;
        VirtualDisplay sim(options);
        std::string error;
        ASSERT_TRUE(sim.start(error)) << error;
        HostPort port(link, 9600);
        ASSERT_TRUE(port.isOpen());
        port.send(kModelQuery);
        EXPECT_EQ(port.readCount(kModelReply.size()), kModelReply);
    }
    EXPECT_NE(access(link.c_str(), F_OK), 0) << "the link goes when the display stops";
    rmdir(dir);
}

} // namespace
} // namespace tavisto::sim::test
