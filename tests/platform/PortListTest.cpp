// The port list from the registry and the system language.
#include "link/Connection.h"
#include "link/Win32Ports.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace tavisto {
namespace {

// A key of its own under the user's hive, laid out as SERIALCOMM is, removed again
// at the end.
class RegistryPorts : public ::testing::Test {
protected:
    const std::wstring subKey = L"Software\\TavistoTest\\SERIALCOMM";

    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TavistoTest"); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TavistoTest"); }

    void addPort(const wchar_t* device, const wchar_t* name) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const auto bytes = static_cast<DWORD>((std::wcslen(name) + 1) * sizeof(wchar_t));
        RegSetValueExW(key, device, 0, REG_SZ, reinterpret_cast<const BYTE*>(name), bytes);
        RegCloseKey(key);
    }

    std::vector<std::string> list{"kept"};
    std::string message;
};

TEST_F(RegistryPorts, ValuesAreListedInCaseInsensitiveTextOrder) {
    addPort(L"\\Device\\Serial2", L"COM3");
    addPort(L"\\Device\\Serial0", L"COM1");
    addPort(L"\\Device\\USBSER001", L"com10");
    addPort(L"\\Device\\Serial1", L"COM2");
    ASSERT_TRUE(EnumPortsInKey(HKEY_CURRENT_USER, subKey, list, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(list, (std::vector<std::string>{"COM1", "com10", "COM2", "COM3"}));
}

TEST_F(RegistryPorts, AMissingKeyLeavesTheListAsItWas) {
    EXPECT_FALSE(EnumPortsInKey(HKEY_CURRENT_USER, subKey, list, message));
    EXPECT_EQ(message, "Error opening registry key for serial port list");
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
}

TEST(SystemPorts, TheMachinesListHoldsTheMappedPort) {
    // Wine lists the COM ports of its prefix under SERIALCOMM, as Windows lists its
    // serial drivers' ports.
    const char* port = std::getenv("TAVISTO_TEST_PORT");
    ASSERT_NE(port, nullptr);
    std::vector<std::string> list;
    std::string message;
    ASSERT_TRUE(EnumPorts(list, message)) << message;
    EXPECT_NE(std::find(list.begin(), list.end(), port), list.end())
        << "no " << port << " among " << ::testing::PrintToString(list);
}

TEST(SystemLanguage, FollowsTheSystemsDefaultLanguage) {
    // run-under-wine.sh runs this once in an English and once in a Chinese (PRC)
    // locale and says which id to expect.
    const char* expected = std::getenv("TAVISTO_TEST_LANG_ID");
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(SystemDefaultLangId(), std::atoi(expected));
}

} // namespace
} // namespace tavisto
