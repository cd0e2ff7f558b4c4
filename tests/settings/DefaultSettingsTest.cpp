#include "settings/DefaultSettings.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tavisto {
namespace {

TEST(DefaultSettings, TextIsExactlyTheBuiltInDefaults) {
    const std::string expected = "{\"temp1\":0,\n"
                                 "\"Baud_Rate\":0,\n"
                                 "\"temp2\":0,\n"
                                 "\"Char_No\":0,\n"
                                 "\"Expand_Char_No\":0,\n"
                                 "\"Comm_No\":255,\n"
                                 "\"wel_mess1\":\"*** TFT DISPLAY *** \",\n"
                                 "\"wel_mess2\":\"**HAVE A NICE DAY AND THANK YOU**\",\n"
                                 "\"font_Foreground_color\":2047,\n"
                                 "\"font_Background_color\":0,\n"
                                 "\"back_light\":5,\n"
                                 "\"pic_reg\":0,\n"
                                 "\"line_mode\":1,\n"
                                 "\"bm_back_rgb\":65535,\n"
                                 "\"bm_font_rgb\":31,\n"
                                 "\"tp_back_rgb\":31,\n"
                                 "\"tp_font_rgb\":65535,\n"
                                 "\"tp_mode\":10,\n"
                                 "\"main_str\":\"*** TFT DISPLAY  ***  HAVE A NICE DAY!  "
                                 "*** TFT DISPLAY  ***  HAVE A NICE DAY!  \",\n"
                                 "\"into_lun_bo\":0,\n"
                                 "\"lun_time\":1\n"
                                 "}";
    EXPECT_EQ(DefaultSettingsText(), expected);
}

TEST(DefaultSettings, TextParsesAsOneObjectOfTwentyOneMembers) {
    const auto json = nlohmann::ordered_json::parse(DefaultSettingsText());
    ASSERT_TRUE(json.is_object());
    EXPECT_EQ(json.size(), 21u);
    EXPECT_EQ(json.begin().key(), "temp1");
    EXPECT_EQ(json.at("wel_mess1").get<std::string>().size(), 20u);
    EXPECT_EQ(json.at("wel_mess2").get<std::string>().size(), 33u);
    EXPECT_EQ(json.at("main_str").get<std::string>().size(), 80u);
    EXPECT_EQ(json.at("main_str").get<std::string>().substr(20, 20), "  HAVE A NICE DAY!  ");
}

} // namespace
} // namespace tavisto
