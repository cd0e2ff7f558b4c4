#include "ConnectionFixture.h"
#include "protocol/Session.h"

namespace tavisto::testing {
namespace {

using namespace std::string_literals;

const Bytes kModelQuery = wire("02 07 16 01");

class Identify : public ConnectionTest {};

TEST_F(Identify, RecognisesEveryModelAndClosesTheSession) {
    displayAt(9600);
    for (int model = 0; model < 7; ++model) {
        display->setModel(model);
        EXPECT_EQ(LcdIdentifyModel(connection, message), model);
        EXPECT_EQ(message, "OK");
        EXPECT_FALSE(connection.SessionPort);
    }
    EXPECT_EQ(line.kinds().size(), 21u);
    EXPECT_EQ(line.writes(), std::vector<Bytes>(7, kModelQuery));
}

TEST_F(Identify, TracesOnlyTheReply) {
    displayAt(9600);
    ASSERT_EQ(LcdIdentifyModel(connection, message), 5);
    EXPECT_EQ(traced, std::vector<std::string>{"<---- 4B543335302D4D4B00"});
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kClose}));
}

TEST_F(Identify, AssemblesAReplySplitAcrossReads) {
    displayAt(9600, 5, [](sim::Faults& f) {
        f.splitAt = 6;
        f.splitPause = 40ms;
        f.replyDelay = 100ms;
    });
    EXPECT_EQ(LcdIdentifyModel(connection, message), 5);
}

TEST_F(Identify, RejectsRepliesThatDoNotEndInZero) {
    displayAt(9600, 5, [](sim::Faults& f) { f.modelReply = "KT350-MK"; });
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Not found Device : Time out !");
    EXPECT_TRUE(traced.empty());

    misbehave([](sim::Faults& f) { f.modelReply = "KT350-MK\0\x01"s; });
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Not found Device : Time out !");
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(Identify, UnknownNamesAreUnknownModels) {
    displayAt(9600, 5, [](sim::Faults& f) { f.modelReply = "kt350-mk"s + '\0'; });
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Unknown model !");
    misbehave([](sim::Faults& f) { f.modelReply = Bytes(1, '\0'); });
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Unknown model !");
    misbehave([](sim::Faults& f) { f.garbage = "\x7F"; }); // before the right name
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Unknown model !");
}

TEST_F(Identify, WaitsEightySixPointFourMillisecondsAfterTheHundredMillisecondPause) {
    // Complete at 186 ms after the query: 86 ms into the window, still inside.
    displayAt(9600, 6, [](sim::Faults& f) { f.replyDelay = 186ms; });
    EXPECT_EQ(LcdIdentifyModel(connection, message), 6);

    // Complete at 188 ms: the window closed at 186.4 ms.
    misbehave([](sim::Faults& f) { f.replyDelay = 188ms; });
    const Micros before = clock.elapsed();
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Not found Device : Time out !");
    const Micros took = clock.elapsed() - before;
    EXPECT_GT(took, 186400us);
    EXPECT_LE(took, 188000us);
}

TEST_F(Identify, AHungUpLineStillTimesOut) {
    line.hungUp = true;
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Not found Device : Time out !");
    EXPECT_LE(clock.elapsed(), 200ms);
}

TEST_F(Identify, PortErrorsSendNothing) {
    connection.CurrentPortName = "/dev/ttyMISSING";
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, " Error opening serial port!");
    connection.CurrentPortName.clear();
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, " Error opening serial port!");
    connection.SystemLangId = kLangChinese;
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, " 打开串口出错，此串口不存在或被占用!");
    EXPECT_TRUE(line.events().empty());
}

class Probe : public ConnectionTest {};

TEST_F(Probe, AnswersOnTheOpenSessionAndLeavesItOpen) {
    displayAt(9600, 3);
    openSession();
    EXPECT_TRUE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "OK");
    EXPECT_TRUE(connection.SessionPort);
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite}));
    EXPECT_EQ(traced, (std::vector<std::string>{"----> 02071601", "<---- 4B543335302D4D4B4400"}));
}

TEST_F(Probe, NeverOpensTheSession) {
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_TRUE(line.events().empty());
    EXPECT_TRUE(traced.empty());
}

TEST_F(Probe, FailsAtOnceWhenNothingHasArrived) {
    openSession();
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "Failed to read data");
    EXPECT_EQ(clock.elapsed(), 100ms);
}

TEST_F(Probe, DoesNotWaitForTheRestOfAReply) {
    displayAt(9600, 5, [](sim::Faults& f) {
        f.splitAt = 5;
        f.splitPause = 51ms;
        f.replyDelay = 50ms;
    });
    openSession();
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "Failed to read data");
}

TEST_F(Probe, JudgesUnknownModelsAndEndlessReplies) {
    displayAt(9600, 5, [](sim::Faults& f) { f.modelReply = "KT350-MKX"s + '\0'; });
    openSession();
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "Unknown model !");

    // Bytes without a 00, one every millisecond, read by a slow driver (1 ms per read):
    // the probe gives up once 172.8 ms have passed. The line's own timing, so scripted.
    display.reset();
    line.onWrite = [this](const Bytes&) {
        for (int ms = 0; ms < 400; ++ms)
            line.arrive("?", Micros(std::chrono::milliseconds(ms)));
    };
    line.readCost = 1ms;
    const Micros before = clock.elapsed();
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "Not found Device : Time out !");
    EXPECT_EQ(clock.elapsed() - before, 100ms + 173ms);
}

class WaitReady : public ConnectionTest {};

TEST_F(WaitReady, GivesUpAfterFiftyOneProbes) {
    EXPECT_FALSE(LcdWaitReady(connection, message));
    EXPECT_EQ(message, "Failed to read data");
    EXPECT_EQ(line.writes(), std::vector<Bytes>(51, kModelQuery));
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(line.kinds().front(), kOpen);
    EXPECT_EQ(line.kinds().back(), kClose);
    EXPECT_EQ(clock.elapsed(), 51 * 200ms);
}

TEST_F(WaitReady, StopsAtTheFirstAnswer) {
    displayAt(9600, 5, [](sim::Faults& f) { f.lostReplies = {0, 1}; });
    EXPECT_TRUE(LcdWaitReady(connection, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(display->receivedFrames(), std::vector<Bytes>(3, kModelQuery));
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kWrite, kWrite, kClose}));
    EXPECT_EQ(clock.elapsed(), 3 * 200ms);
}

TEST_F(WaitReady, KeepsTheCallersSessionOpenWhenAsked) {
    displayAt(9600);
    openSession();
    EXPECT_TRUE(LcdWaitReady(connection, message, true));
    EXPECT_TRUE(connection.SessionPort);
    EXPECT_TRUE(LcdWaitReady(connection, message, false));
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kWrite, kClose}));
}

TEST_F(WaitReady, FailsWithoutProbingWhenThePortCannotOpen) {
    connection.CurrentPortName = "/dev/ttyMISSING";
    EXPECT_FALSE(LcdWaitReady(connection, message));
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_TRUE(line.events().empty());
    EXPECT_EQ(clock.elapsed(), 0ms);
}

class Version : public ConnectionTest {};

TEST_F(Version, ReadsRawBigEndianBytes) {
    displayAt(9600, 5, [](sim::Faults& f) { f.versionReply = wire("00 0E"); });
    EXPECT_EQ(LcdReadVersion(connection, message), 14u);
    EXPECT_EQ(message, "OK");
    misbehave([](sim::Faults& f) { f.versionReply = wire("0D"); });
    EXPECT_EQ(LcdReadVersion(connection, message), 13u);
    misbehave([](sim::Faults& f) { f.versionReply = wire("01 00 00 01 0E"); });
    EXPECT_EQ(LcdReadVersion(connection, message), 0x0000010Eu);
    EXPECT_TRUE(traced.empty());
    EXPECT_EQ(line.kinds(),
              (Kinds{kOpen, kWrite, kClose, kOpen, kWrite, kClose, kOpen, kWrite, kClose}));
}

TEST_F(Version, ReadsOnceAfterAHundredMilliseconds) {
    displayAt(9600, 5, [](sim::Faults& f) { f.replyDelay = 120ms; });
    EXPECT_EQ(LcdReadVersion(connection, message), 0u);
    EXPECT_EQ(message, "Read Version Error !");
    EXPECT_FALSE(connection.SessionPort);
}

class Configuration : public ConnectionTest {
protected:
    // A display at 9600 baud that keeps `settings`; the text it gives for them.
    Bytes displayKeeping(const sim::DeviceSettings& settings, const FaultChange& change = {}) {
        displayAt(9600, 5, change).device().restore(settings, {});
        return sim::settingsText(settings) + '\0';
    }
};

TEST_F(Configuration, DecodesTheSettingsTextIncludingItsZero) {
    sim::DeviceSettings settings;
    settings.wel_mess1 = "Caf\xE9";
    Bytes text = displayKeeping(settings);
    const std::size_t accent = text.find('\xE9');
    // The reply in two pieces: up to the accent 100 ms after the query, the rest 300 ms later.
    misbehave([&](sim::Faults& f) {
        f.splitAt = accent + 1;
        f.splitPause = 300ms;
        f.replyDelay = 100ms;
    });
    std::string read = "stale";
    LcdGetConfiguration(connection, message, read);
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(read, text.replace(accent, 1, "\xC3\xA9"));
    EXPECT_TRUE(traced.empty());
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kClose}));
    EXPECT_EQ(display->receivedFrames(), std::vector<Bytes>{wire("02 07 16 05")});
}

TEST_F(Configuration, ReadsLongRepliesInPortions) {
    sim::DeviceSettings settings;
    settings.main_str = std::string(9000, 'x');
    const Bytes big = displayKeeping(settings);
    std::string text;
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(text, big);
}

TEST_F(Configuration, TimesOutAfter1296Milliseconds) {
    std::string text = "stale";
    const Bytes sent = displayKeeping({}, [](sim::Faults& f) { f.replyDelay = 100ms + 1290ms; });
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(text, sent);

    misbehave([](sim::Faults& f) { f.replyDelay = 100ms + 1298ms; });
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(message, "Get configuration: Time out !");
    EXPECT_EQ(text, "");
    EXPECT_FALSE(connection.SessionPort);

    connection.CurrentPortName = "nowhere";
    text = "stale";
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_EQ(text, "");
}

} // namespace
} // namespace tavisto::testing
