#pragma once

// The files a provisioning run reads and writes, in a folder of the test's own: two
// pictures, a settings file, the profiles and the reports.
#include "pictures/PictureConvert.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace tavisto::testing {

inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};

inline constexpr const char* kFleetProfile = R"({
    "settings": {"file": "shop.ini", "main_text": true},
    "pictures": {"74": "logo.bmp", "76": "offer.bmp"},
    "play": {"pictures": [1, 3], "standby": 30, "interval": 5}
})";

class ProvisionFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SaveResult(Bitmap(200, 100, kRed), path("logo.bmp")));
        ASSERT_TRUE(SaveResult(Bitmap(64, 64, kBlue), path("offer.bmp")));
        // Only the members a settings file names change the defaults.
        folder.write("shop.ini", R"({"wel_mess1": "SHOP 42", "main_str": "FLEET MAIN TEXT"})");
    }

    std::string path(const std::string& name) const { return (folder.path() / name).string(); }

    std::string writeProfile(const std::string& name, const std::string& text) const {
        folder.write(name, text);
        return path(name);
    }

    nlohmann::json readReport(const std::string& name) const {
        const std::string text = folder.read(name);
        EXPECT_FALSE(text.empty()) << name << " was not written";
        return text.empty() ? nlohmann::json() : nlohmann::json::parse(text);
    }

    static CliRun runIn(const cli::CliEnvironment& environment,
                        const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int code = cli::RunCli(args, out, err, environment);
        return {code, out.str(), err.str()};
    }

    TempFolder folder;
};

} // namespace tavisto::testing
