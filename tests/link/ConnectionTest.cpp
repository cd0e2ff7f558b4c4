#include "link/Connection.h"

#include "tests/support/TempFolder.h"

#include <filesystem>
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

TEST(PortNames, OnlyTtysBackedByADriverAndPresentOnBoardUartsAreListed) {
    namespace fs = std::filesystem;
    testing::TempFolder sys;
    const fs::path drivers = sys.path() / "drivers";
    for (const char* driver : {"serial8250", "ftdi_sio", "cdc_acm"})
        fs::create_directories(drivers / driver);
    auto tty = [&](const std::string& name, const char* driver, const char* type) {
        const fs::path dir = sys.path() / "tty" / name;
        fs::create_directories(dir / "device");
        if (driver)
            fs::create_directory_symlink(drivers / driver, dir / "device" / "driver");
        if (type)
            sys.write("tty/" + name + "/type", type);
    };
    tty("ttyS0", "serial8250", "4\n"); // a UART that is there
    tty("ttyS1", "serial8250", "0\n"); // registered, no hardware behind it
    tty("ttyS2", "serial8250", nullptr);
    tty("ttyUSB0", "ftdi_sio", nullptr);
    tty("ttyACM0", "cdc_acm", nullptr);
    tty("tty1", nullptr, nullptr); // a virtual console
    fs::create_directories(sys.path() / "tty" / "console");

    std::vector<std::string> list = {"stale"};
    std::string message;
    ASSERT_TRUE(EnumPortsIn((sys.path() / "tty").string(), list, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(list, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"}));
}

TEST(PortNames, AListingThatFailsLeavesTheListAndSaysSo) {
    std::vector<std::string> list = {"/dev/ttyS0"};
    std::string message;
    EXPECT_FALSE(EnumPortsIn("/nonexistent/class/tty", list, message));
    EXPECT_EQ(message, "Error opening registry key for serial port list");
    EXPECT_EQ(list, std::vector<std::string>{"/dev/ttyS0"});
    EXPECT_FALSE(EnumPortsIn("/dev/null", list, message)); // not a folder
    EXPECT_EQ(message, "Error opening registry key for serial port list");
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
