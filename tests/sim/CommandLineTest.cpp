#include "sim/CommandLine.h"

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
    EXPECT_FALSE(parse({"--repeat-request", "-1"}, cmd, error));
    EXPECT_FALSE(parse({"--transfer-garbage", "0G"}, cmd, error));
}

} // namespace
} // namespace tavisto::sim
