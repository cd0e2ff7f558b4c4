#include "sim/line/LineFraming.h"

#include "HostPort.h"

#include <gtest/gtest.h>

namespace tavisto::sim::test {
namespace {

using Parity = Framing::Parity;

const Framing k8N1{};
const Framing k8E1{8, Parity::Even, 1};
const Framing k7N1{7, Parity::None, 1};
const Framing k8N2{8, Parity::None, 2};

struct Seen {
    unsigned value;
    bool framingError;
};

std::vector<Seen> seen(const std::vector<Character>& characters) {
    std::vector<Seen> out;
    for (const Character& c : characters)
        out.push_back({c.value, c.framingError});
    return out;
}

bool operator==(const Seen& a, const Seen& b) {
    return a.value == b.value && a.framingError == b.framingError;
}

void PrintTo(const Seen& s, std::ostream* os) {
    *os << std::hex << s.value << (s.framingError ? " (framing error)" : "");
}

TEST(LineFraming, AReceiverAtOtherSettingsAssemblesWhatTheBitsSay) {
    // 03 at 8E1: the parity bit (0) lands where the 8N1 receiver wants its stop bit.
    // It takes that low bit as the next start bit and then reads the rest of the
    // line, idle and high, as FF.
    EXPECT_EQ(seen(reframe("\x03", k8E1, k8N1)), (std::vector<Seen>{{0x03, true}, {0xFF, false}}));
    // With an odd number of ones the even parity bit is 1 and passes for a stop bit.
    EXPECT_EQ(seen(reframe("\x07", k8E1, k8N1)), (std::vector<Seen>{{0x07, false}}));
    // 7N1 back to back: each stop bit becomes the eighth data bit, and each start bit
    // the missing stop bit.
    EXPECT_EQ(seen(reframe("AB", k7N1, k8N1)), (std::vector<Seen>{{0xC1, true}, {0xC2, false}}));

    // A second stop bit is only a longer rest: every byte gets through either way.
    Bytes all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    for (const auto& [from, to] : {std::pair{k8N2, k8N1}, std::pair{k8N1, k8N2}}) {
        const auto characters = reframe(all, from, to);
        EXPECT_EQ(deliver(characters, ErrorHandling::Pass), all);
        EXPECT_EQ(damagedCount(characters), 0u);
    }
}

bool hasNoteContaining(const VirtualDisplay& sim, const std::string& text) {
    for (const LogEntry& e : sim.log()) {
        if (e.kind == LogKind::Note && e.text.find(text) != std::string::npos)
            return true;
    }
    return false;
}

TEST(LineFraming, AHostAtOtherSettingsGetsWhatItsUartMakesOfTheLine) {
    const Bytes query = hex("02 07 16 01");
    const Bytes reply = Bytes("KT350-MK") + '\0';
    SimFixture f;
    // A pseudo-terminal does not keep a host's data bits and parity: they are stated.
    // Every byte of the query has an odd number of ones, so an 8E1 host's query gets
    // through; the reply's stop bits stand where the host expects parity, and the
    // next start bit where it expects a stop bit. A host that does not check passes
    // the bytes as they are; one that checks gets a 00 for each damaged character;
    // one that ignores damaged characters gets nothing. The checks are the host's
    // own terminal flags.
    Faults faults;
    faults.hostFraming = Framing{8, Parity::Even, 1};
    f.sim().setFaults(faults);
    EXPECT_EQ(f.ask(query, reply.size()), reply);
    f.host().setFraming(8, 'N', 1, true);
    EXPECT_EQ(f.ask(query, reply.size()), Bytes(reply.size(), '\0'));
    f.host().setFraming(8, 'N', 1, true, true);
    f.host().send(query);
    EXPECT_EQ(f.host().readFor(300ms), Bytes());

    // At 7E1 each parity bit becomes bit 7: the display sees 82 87 96 81, which it
    // takes for text to show, not for a query.
    f.sim().clearLog();
    faults.hostFraming = Framing{7, Parity::Even, 1};
    f.sim().setFaults(faults);
    f.host().setFraming(8, 'N', 1);
    f.host().send(query);
    EXPECT_EQ(f.host().readFor(300ms), Bytes());
    ASSERT_TRUE(f.sim().waitForCount(LogKind::Received, 1, 3000ms));
    EXPECT_EQ(f.sim().receivedFrames(), std::vector<Bytes>{hex("82 87 96 81")}) << "screen text";

    // Two stop bits, set on the host's port: understood, and the reply reads cleanly
    // even when the host checks.
    f.sim().setFaults({});
    f.host().setFraming(8, 'N', 2, true);
    EXPECT_EQ(f.ask(query, reply.size()), reply);
    EXPECT_TRUE(hasNoteContaining(f.sim(), "sent at 8N2"));
}

} // namespace
} // namespace tavisto::sim::test
