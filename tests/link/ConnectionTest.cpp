#include "link/Connection.h"

#include <gtest/gtest.h>

namespace tavisto {
namespace {

TEST(OpenMessages, EnglishAndChineseByLanguageId) {
    EXPECT_EQ(OpenCodeMessage(0, 1033), " This serial port already opened!");
    EXPECT_EQ(OpenCodeMessage(2, 1033), " Error opening serial port!");
    EXPECT_EQ(OpenCodeMessage(3, 1033), " Cannot setup comm buffer!");
    EXPECT_EQ(OpenCodeMessage(4, 1033), " Unable to create event!");
    EXPECT_EQ(OpenCodeMessage(7, 1033), "  Unknown Error 7!");
    EXPECT_EQ(OpenCodeMessage(2, 2052), " 打开串口出错，此串口不存在或被占用!");
    EXPECT_EQ(OpenCodeMessage(0, 2052), " 此串口已经打开!");
    EXPECT_EQ(OpenCodeMessage(9, 2052), "  未知错误 9!");
    EXPECT_EQ(OpenCodeText(1, 2052), "OK");
    EXPECT_EQ(OpenCodeText(1, 1031), "OK");
    EXPECT_EQ(OpenCodeText(2, 1031), "Error opening serial port");
}

TEST(PortNames, SortedCaseInsensitivelyAsText) {
    std::vector<std::string> names = {"COM3", "com2", "COM10", "COM1"};
    SortPortNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "COM10", "com2", "COM3"}));
}

TEST(PortNames, ListingOnlyHoldsDevicePaths) {
    std::vector<std::string> list = {"stale"};
    std::string message;
    ASSERT_TRUE(EnumPorts(list, message));
    for (const auto& name : list)
        EXPECT_TRUE(name.starts_with("/dev/tty")) << name;
}

TEST(SystemLanguage, OnlyPrcChineseSelects2052) {
    auto withLocale = [](const char* lcAll, const char* lang) {
        if (lcAll)
            setenv("LC_ALL", lcAll, 1);
        else
            unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        if (lang)
            setenv("LANG", lang, 1);
        else
            unsetenv("LANG");
        return SystemDefaultLangId();
    };
    EXPECT_EQ(withLocale(nullptr, "zh_CN.UTF-8"), 2052);
    EXPECT_EQ(withLocale("zh_CN.GB2312", "en_US.UTF-8"), 2052);
    EXPECT_EQ(withLocale("en_US.UTF-8", "zh_CN.UTF-8"), 1033);
    EXPECT_EQ(withLocale(nullptr, "zh_TW.UTF-8"), 1033);
    EXPECT_EQ(withLocale(nullptr, nullptr), 1033);
    unsetenv("LC_ALL");
    unsetenv("LANG");
}

} // namespace
} // namespace tavisto
