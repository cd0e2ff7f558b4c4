#include "sim/program/CommandLine.h"

#include <gtest/gtest.h>

namespace tavisto::sim {
namespace {

bool parse(std::vector<std::string> args, CommandLine& out, std::string& error) {
    return parseCommandLine(args, out, error);
}

TEST(SimCommandLine, BaudTakesOnlyLineSpeeds) {
    for (const char* rate : {"1200", "9600", "115200", "921600", "0x4B00"}) {
        CommandLine cmd;
        std::string error;
        EXPECT_TRUE(parse({"--baud", rate}, cmd, error)) << rate << ": " << error;
    }
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({"--baud", "0x4B00"}, cmd, error));
    EXPECT_EQ(cmd.options.baudRate, 19200);

    for (const char* rate : {"0", "1", "9601", "12345", "500000", "4000000", "99999999999"}) {
        CommandLine bad;
        EXPECT_FALSE(parse({"--baud", rate}, bad, error)) << rate;
        EXPECT_NE(error.find(rate), std::string::npos) << error;
        EXPECT_EQ(bad.options.baudRate, 9600) << rate;
    }
    EXPECT_FALSE(parse({"--baud", "fast"}, cmd, error));
    EXPECT_FALSE(parse({"--baud"}, cmd, error));
    EXPECT_EQ(error, "--baud needs a value");
}

TEST(SimCommandLine, EmptyRepliesAreInjectedNotIgnored) {
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({"--version-reply", "", "--model-reply", ""}, cmd, error)) << error;
    ASSERT_TRUE(cmd.options.faults.versionReply.has_value());
    EXPECT_EQ(*cmd.options.faults.versionReply, Bytes());
    ASSERT_TRUE(cmd.options.faults.modelReply.has_value());
    EXPECT_EQ(*cmd.options.faults.modelReply, Bytes());
}

TEST(SimCommandLine, FaultsOnOneKindOfFrameAndSlowReplies) {
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({"--wrong-echo-to", "02070C", "--silent-after", "02071601", "--trailer",
                       "0D0A", "--reply-delay", "250", "--settings-reply", "7B7D"},
                      cmd, error))
        << error;
    const Faults& f = cmd.options.faults;
    EXPECT_EQ(f.wrongEchoTo, Bytes("\x02\x07\x0C", 3));
    EXPECT_EQ(f.silentAfter, Bytes("\x02\x07\x16\x01", 4));
    EXPECT_EQ(f.trailer, Bytes("\r\n"));
    EXPECT_EQ(f.replyDelay, Millis(250));
    EXPECT_EQ(f.settingsReply, std::optional<Bytes>("{}"));
    EXPECT_FALSE(parse({"--silent-after", "0Z"}, cmd, error));
    EXPECT_EQ(error, "invalid hex bytes for --silent-after: 0Z");
}

TEST(SimCommandLine, TransferFaults) {
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({"--repeat-request", "3", "--transfer-garbage", "00FF41",
                       "--refuse-make-file", "--hang-up-after", "7"},
                      cmd, error))
        << error;
    const Faults& f = cmd.options.faults;
    EXPECT_EQ(f.repeatRequest, 3);
    EXPECT_EQ(f.transferGarbage, Bytes("\x00\xFF\x41", 3));
    EXPECT_TRUE(f.refuseMakeFile);
    EXPECT_EQ(f.hangUpAfterBlocks, 7);
    EXPECT_EQ(f.corruptBlock, -1);
    EXPECT_EQ(f.silentAfterBlock, -1);
    ASSERT_TRUE(parse({"--corrupt-block", "0", "--silent-after-block", "12"}, cmd, error));
    EXPECT_EQ(f.corruptBlock, 0);
    EXPECT_EQ(f.silentAfterBlock, 12);
    EXPECT_FALSE(parse({"--repeat-request", "-1"}, cmd, error));
    EXPECT_FALSE(parse({"--transfer-garbage", "0G"}, cmd, error));
}

// "--name=VALUE" is read as "--name VALUE" (an empty value too), the screen's options
// among the others; options count in the order given.
TEST(SimCommandLine, ValuesAfterAnEqualsSignAndTheLastWordCounts) {
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({"--baud=19200", "--version-reply=", "--screen=s.png", "--screen-every", "50",
                       "--unpaced", "--pacing", "--unpaced", "--baud", "38400"},
                      cmd, error))
        << error;
    EXPECT_EQ(cmd.options.baudRate, 38400);
    EXPECT_EQ(cmd.options.faults.versionReply, Bytes());
    EXPECT_EQ(cmd.screen.file, "s.png");
    EXPECT_EQ(cmd.screen.everyMs, 50);
    EXPECT_FALSE(cmd.options.faults.pacing);
    EXPECT_FALSE(parse({"--screen-every=0"}, cmd, error));
    EXPECT_EQ(error, "invalid value for --screen-every: 0 (1 to 60000 ms)");
    EXPECT_FALSE(parse({"--silent=yes"}, cmd, error));
    EXPECT_EQ(error, "--silent takes no value");
    EXPECT_FALSE(parse({"--baud", "9600", "9600"}, cmd, error));
    EXPECT_EQ(error, "unknown option: 9600");
}

// A person running the program gets a paced line, and the help says which mode is on.
TEST(SimCommandLine, PacedUnlessToldOtherwise) {
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({}, cmd, error));
    EXPECT_TRUE(cmd.options.faults.pacing);
    EXPECT_NE(usageText(true).find("Pacing is on"), std::string::npos);
    ASSERT_TRUE(parse({"--unpaced"}, cmd, error));
    EXPECT_FALSE(cmd.options.faults.pacing);
    EXPECT_NE(usageText(false).find("Pacing is off"), std::string::npos);
}

TEST(SimCommandLine, HostFramingAndStateFolder) {
    CommandLine cmd;
    std::string error;
    ASSERT_TRUE(parse({"--host-framing", "7O2", "--state", "/tmp/x"}, cmd, error)) << error;
    ASSERT_TRUE(cmd.options.faults.hostFraming.has_value());
    EXPECT_EQ(*cmd.options.faults.hostFraming, (Framing{7, Framing::Parity::Odd, 2}));
    EXPECT_EQ(cmd.options.stateDir, "/tmp/x");
    for (const char* bad : {"9N1", "8X1", "8N3", "8N", "8N11", ""}) {
        CommandLine other;
        EXPECT_FALSE(parse({"--host-framing", bad}, other, error)) << bad;
    }
    EXPECT_FALSE(parse({"--state", ""}, cmd, error));
}

} // namespace
} // namespace tavisto::sim
