#include "app/connect/WindowArguments.h"

#include <gtest/gtest.h>

namespace tavisto {
namespace {

TEST(WindowArguments, SimulateTakesAModelName) {
    TWindowArguments args;
    std::string error;
    ASSERT_TRUE(ParseWindowArguments({}, args, error));
    EXPECT_FALSE(args.simulateModel);
    ASSERT_TRUE(ParseWindowArguments({"--simulate", "KT350-MK"}, args, error));
    EXPECT_EQ(args.simulateModel, 5);
    ASSERT_TRUE(ParseWindowArguments({"--simulate", "KT350--MKA"}, args, error));
    EXPECT_EQ(args.simulateModel, 0);
}

TEST(WindowArguments, BadCommandLines) {
    TWindowArguments args;
    std::string error;
    EXPECT_FALSE(ParseWindowArguments({"--simulate"}, args, error));
    EXPECT_NE(error.find("KT750-MK"), std::string::npos) << error; // lists the models
    EXPECT_FALSE(ParseWindowArguments({"--simulate", "kt350-mk"}, args, error));
    EXPECT_FALSE(ParseWindowArguments({"--simulate", "5"}, args, error));
    EXPECT_FALSE(ParseWindowArguments({"--model", "KT350-MK"}, args, error));
    EXPECT_EQ(error, "unknown option: --model");
}

TEST(WindowArguments, HelpAndVersionAnswerWhereverTheyStand) {
    EXPECT_FALSE(WindowInfoText({}));
    EXPECT_FALSE(WindowInfoText({"--simulate", "KT350-MK"}));
    EXPECT_EQ(WindowInfoText({"--version"}), "Tavisto v3.2\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"--simulate", "KT350-MK", "--help"}, {"--bogus", "--help"}}) {
        const auto text = WindowInfoText(args);
        ASSERT_TRUE(text) << args.back();
        EXPECT_EQ(text->rfind("usage: tavisto [--simulate MODEL]", 0), 0u) << *text;
        EXPECT_NE(text->find("KT350--MKA, KT350--MKB"), std::string::npos);
        // Every line fits a terminal.
        std::size_t start = 0;
        for (std::size_t end; (end = text->find('\n', start)) != std::string::npos; start = end + 1)
            EXPECT_LE(end - start, 80u) << text->substr(start, end - start);
    }
}

} // namespace
} // namespace tavisto
