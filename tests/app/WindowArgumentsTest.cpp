#include "app/WindowArguments.h"

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

} // namespace
} // namespace tavisto
