#include "ProtocolFixture.h"
#include "protocol/Session.h"

namespace tavisto::testing {
namespace {

using namespace std::string_literals;

const Bytes kModelQuery = wire("02 07 16 01");

Bytes named(const std::string& model) {
    return model + '\0';
}

class Identify : public ProtocolTest {};

TEST_F(Identify, RecognisesEveryModelAndClosesTheSession) {
    const std::vector<std::string> names = {"KT350--MKA", "KT350--MKB", "KT350-MKC", "KT350-MKD",
                                            "KT750--MK",  "KT350-MK",   "KT750-MK"};
    for (int model = 0; model < 7; ++model) {
        answer(kModelQuery, named(names[static_cast<std::size_t>(model)]));
        EXPECT_EQ(LcdIdentifyModel(connection, message), model);
        EXPECT_EQ(message, "OK");
        EXPECT_FALSE(connection.SessionPort);
    }
    EXPECT_EQ(line.kinds().size(), 21u);
    EXPECT_EQ(line.writes(), std::vector<Bytes>(7, kModelQuery));
}

TEST_F(Identify, TracesOnlyTheReply) {
    answer(kModelQuery, named("KT350-MK"));
    ASSERT_EQ(LcdIdentifyModel(connection, message), 5);
    EXPECT_EQ(traced, std::vector<std::string>{"<---- 4B543335302D4D4B00"});
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kClose}));
}

TEST_F(Identify, AssemblesAReplySplitAcrossReads) {
    line.onWrite = [this](const Bytes&) {
        line.arrive("KT350-", 100ms);
        line.arrive("MK"s + '\0', 140ms);
    };
    EXPECT_EQ(LcdIdentifyModel(connection, message), 5);
}

TEST_F(Identify, RejectsRepliesThatDoNotEndInZero) {
    answer(kModelQuery, "KT350-MK");
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Not found Device : Time out !");
    EXPECT_TRUE(traced.empty());

    answer(kModelQuery, "KT350-MK\0\x01"s);
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Not found Device : Time out !");
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(Identify, UnknownNamesAreUnknownModels) {
    answer(kModelQuery, named("kt350-mk"));
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Unknown model !");
    answer(kModelQuery, Bytes(1, '\0'));
    EXPECT_EQ(LcdIdentifyModel(connection, message), -1);
    EXPECT_EQ(message, "Unknown model !");
}

TEST_F(Identify, WaitsEightySixPointFourMillisecondsAfterTheHundredMillisecondPause) {
    // Complete at 186 ms after the query: 86 ms into the window, still inside.
    answer(kModelQuery, named("KT750-MK"), 186ms);
    EXPECT_EQ(LcdIdentifyModel(connection, message), 6);

    // Complete at 188 ms: the window closed at 186.4 ms.
    answer(kModelQuery, named("KT750-MK"), 188ms);
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

class Probe : public ProtocolTest {};

TEST_F(Probe, AnswersOnTheOpenSessionAndLeavesItOpen) {
    openSession();
    answer(kModelQuery, named("KT350-MKD"));
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
    openSession();
    line.onWrite = [this](const Bytes&) {
        line.arrive("KT350", 50ms);
        line.arrive("-MK"s + '\0', 101ms);
    };
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "Failed to read data");
}

TEST_F(Probe, JudgesUnknownModelsAndEndlessReplies) {
    openSession();
    answer(kModelQuery, named("KT350-MKX"));
    EXPECT_FALSE(LcdProbeModel(connection, message));
    EXPECT_EQ(message, "Unknown model !");

    // A display that keeps sending bytes without a 00, read by a slow driver
    // (1 ms per read): the probe gives up once 172.8 ms have passed.
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

class WaitReady : public ProtocolTest {};

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
    int probes = 0;
    line.onWrite = [&](const Bytes&) {
        if (++probes == 3)
            line.arrive(named("KT350-MK"), 10ms);
    };
    EXPECT_TRUE(LcdWaitReady(connection, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(probes, 3);
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kWrite, kWrite, kClose}));
    EXPECT_EQ(clock.elapsed(), 3 * 200ms);
}

TEST_F(WaitReady, KeepsTheCallersSessionOpenWhenAsked) {
    openSession();
    answer(kModelQuery, named("KT350-MK"));
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

class Version : public ProtocolTest {};

TEST_F(Version, ReadsRawBigEndianBytes) {
    const Bytes query = wire("02 07 16 02");
    answer(query, wire("00 0E"));
    EXPECT_EQ(LcdReadVersion(connection, message), 14u);
    EXPECT_EQ(message, "OK");
    answer(query, wire("0D"));
    EXPECT_EQ(LcdReadVersion(connection, message), 13u);
    answer(query, wire("01 00 00 01 0E"));
    EXPECT_EQ(LcdReadVersion(connection, message), 0x0000010Eu);
    EXPECT_TRUE(traced.empty());
    EXPECT_EQ(line.kinds(),
              (Kinds{kOpen, kWrite, kClose, kOpen, kWrite, kClose, kOpen, kWrite, kClose}));
}

TEST_F(Version, ReadsOnceAfterAHundredMilliseconds) {
    answer(wire("02 07 16 02"), wire("0E"), 120ms);
    EXPECT_EQ(LcdReadVersion(connection, message), 0u);
    EXPECT_EQ(message, "Read Version Error !");
    EXPECT_FALSE(connection.SessionPort);
}

class Configuration : public ProtocolTest {};

TEST_F(Configuration, DecodesTheSettingsTextIncludingItsZero) {
    const Bytes query = wire("02 07 16 05");
    line.onWrite = [&](const Bytes& written) {
        ASSERT_EQ(written, query);
        line.arrive("{\"wel_mess1\":\"Caf\xE9", 100ms);
        line.arrive("\"}"s + '\0', 400ms);
    };
    std::string text = "stale";
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(text, "{\"wel_mess1\":\"Caf\xC3\xA9\"}"s + '\0');
    EXPECT_TRUE(traced.empty());
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kClose}));
}

TEST_F(Configuration, ReadsLongRepliesInPortions) {
    const Bytes big = "{\"main_str\":\"" + std::string(9000, 'x') + "\"}" + '\0';
    answer(wire("02 07 16 05"), big);
    std::string text;
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(text, big);
}

TEST_F(Configuration, TimesOutAfter1296Milliseconds) {
    std::string text = "stale";
    answer(wire("02 07 16 05"), "{}"s + '\0', 100ms + 1290ms);
    LcdGetConfiguration(connection, message, text);
    EXPECT_EQ(text, "{}"s + '\0');

    answer(wire("02 07 16 05"), "{}"s + '\0', 100ms + 1298ms);
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
