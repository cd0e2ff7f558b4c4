#include "HostPort.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tavisto::sim::test {
namespace {

nlohmann::json configuration(SimFixture& f) {
    f.host().send(hex("02 07 16 05"));
    Bytes reply = f.host().readUntil('\0');
    EXPECT_FALSE(reply.empty());
    EXPECT_EQ(reply.back(), '\0');
    EXPECT_EQ(reply.find('\0'), reply.size() - 1) << "only the final byte is 00";
    reply.pop_back();
    return nlohmann::json::parse(latin1ToUtf8(reply));
}

TEST(DisplayQueries, EachModelReportsItsNameWithATerminator) {
    const char* names[] = {"KT350--MKA", "KT350--MKB", "KT350-MKC", "KT350-MKD",
                           "KT750--MK",  "KT350-MK",   "KT750-MK"};
    for (int model = 0; model < 7; ++model) {
        SimOptions options;
        options.model = model;
        SimFixture f(options);
        Bytes expected = std::string(names[model]) + '\0';
        EXPECT_EQ(f.ask(hex("02 07 16 01"), expected.size()), expected) << model;
    }
}

TEST(DisplayQueries, VersionIsSentAsFewBigEndianBytesAsNeeded) {
    SimFixture f;
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("0E"));
    f.sim().setVersion(0x0102);
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 2), hex("01 02"));
    f.sim().setVersion(0x12345678);
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 4), hex("12 34 56 78"));
    f.sim().setVersion(0);
    EXPECT_EQ(f.ask(hex("02 07 16 02"), 1), hex("00"));
}

TEST(DisplayQueries, ConfigurationStartsWithTheFactoryDefaults) {
    SimFixture f;
    auto json = configuration(f);
    const char* members[] = {"temp1",
                             "Baud_Rate",
                             "temp2",
                             "Char_No",
                             "Expand_Char_No",
                             "Comm_No",
                             "wel_mess1",
                             "wel_mess2",
                             "font_Foreground_color",
                             "font_Background_color",
                             "back_light",
                             "pic_reg",
                             "line_mode",
                             "bm_back_rgb",
                             "bm_font_rgb",
                             "tp_back_rgb",
                             "tp_font_rgb",
                             "tp_mode",
                             "main_str",
                             "into_lun_bo",
                             "lun_time"};
    EXPECT_EQ(json.size(), 21u);
    for (const char* m : members)
        EXPECT_TRUE(json.contains(m)) << m;
    EXPECT_EQ(json["Comm_No"], 255);
    EXPECT_EQ(json["wel_mess1"], "*** TFT DISPLAY *** ");
    EXPECT_EQ(json["wel_mess2"], "**HAVE A NICE DAY AND THANK YOU**");
    EXPECT_EQ(json["font_Foreground_color"], 2047);
    EXPECT_EQ(json["back_light"], 5);
    EXPECT_EQ(json["bm_back_rgb"], 65535);
    EXPECT_EQ(json["bm_font_rgb"], 31);
    EXPECT_EQ(json["tp_mode"], 10);
    EXPECT_EQ(json["main_str"], "*** TFT DISPLAY  ***  HAVE A NICE DAY!  "
                                "*** TFT DISPLAY  ***  HAVE A NICE DAY!  ");
    EXPECT_EQ(json["lun_time"], 1);
}

TEST(DisplayQueries, EchoCommandsComeBackUnchanged) {
    SimFixture f;
    for (const char* frame : {"02 07 0B 99 66 33", "02 07 0C 01 02 03", "02 07 0E FF FF FF",
                              "02 07 0F 00 00 00", "02 07 10 12 34 56", "02 07 11 AB CD EF"})
        EXPECT_EQ(f.ask(hex(frame), 6), hex(frame)) << frame;
    EXPECT_EQ(f.ask(hex("02 07 0A"), 3), hex("02 07 0A"));
    EXPECT_EQ(f.ask(hex("02 07 09"), 3), hex("02 07 09"));
    EXPECT_EQ(f.ask(hex("02 07 14 02"), 4), hex("02 07 14 02"));
}

TEST(DisplayQueries, ConfigurationReflectsWhatWasSet) {
    SimFixture f;
    f.tell(hex("02 07 16 06") + "  Welcome \"home\"\\  " + hex("00"));
    f.tell(hex("02 07 16 07") + "Line two \xE9" + hex("00"));
    f.tell(hex("02 07 16 09 07"));
    f.ask(hex("02 07 0E 00 00 FF"), 6); // main text colour: pure blue
    f.ask(hex("02 07 0F FF 00 00"), 6); // main background: pure red
    f.ask(hex("02 07 0B FF FF FF"), 6); // header text: white
    f.ask(hex("02 07 0C 00 FF 00"), 6); // header background: green
    f.ask(hex("02 07 10 08 04 08"), 6); // footer text
    f.ask(hex("02 07 11 00 00 00"), 6); // footer background
    f.ask(hex("02 07 09"), 3);
    f.ask(hex("02 07 14 02"), 4);
    f.tell(hex("1F 58 04"));       // brightness 100 %
    f.tell(hex("02 06 13"));       // code page 19 (CP858)
    f.tell(hex("02 05 08"));       // Japan
    f.tell(hex("02 43 31 34"));    // the list's last entry: automatic
    f.tell(hex("02 07 28 03 FF")); // ten pictures
    f.tell(hex("02 07 1C 78"));    // standby 120 s
    f.tell(hex("02 07 1B 0A"));    // interval 10 s
    f.tell(hex("02 07 18") + "MAIN TEXT");

    auto json = configuration(f);
    EXPECT_EQ(json["wel_mess1"], "  Welcome \"home\"\\  ");
    EXPECT_EQ(json["wel_mess2"], "Line two \u00E9");
    EXPECT_EQ(json["temp2"], 7);
    EXPECT_EQ(json["font_Foreground_color"], 0x001F);
    EXPECT_EQ(json["font_Background_color"], 0xF800);
    EXPECT_EQ(json["tp_font_rgb"], 0xFFFF);
    EXPECT_EQ(json["tp_back_rgb"], 0x07E0);
    EXPECT_EQ(json["bm_font_rgb"], 0x0821);
    EXPECT_EQ(json["bm_back_rgb"], 0);
    EXPECT_EQ(json["tp_mode"], 9);
    EXPECT_EQ(json["line_mode"], 2);
    EXPECT_EQ(json["back_light"], 3);
    EXPECT_EQ(json["Expand_Char_No"], 19);
    EXPECT_EQ(json["Char_No"], 8);
    EXPECT_EQ(json["Comm_No"], 255);
    EXPECT_EQ(json["pic_reg"], 1023);
    EXPECT_EQ(json["into_lun_bo"], 120);
    EXPECT_EQ(json["lun_time"], 10);
    EXPECT_EQ(json["main_str"], "MAIN TEXT");

    f.tell(hex("02 43 35"));
    EXPECT_EQ(f.sim().state().settings.Comm_No, 5);

    // Factory settings again.
    f.tell(hex("02 07 15 27 27"));
    json = configuration(f);
    EXPECT_EQ(json["wel_mess1"], "*** TFT DISPLAY *** ");
    EXPECT_EQ(json["back_light"], 5);
    EXPECT_EQ(json["pic_reg"], 0);
}

TEST(DisplayQueries, ControlBytesInTextsAreEscapedSoTheReplyHasOneTerminator) {
    SimFixture f;
    f.tell(hex("02 07 18 41 01 1F 42"));
    auto json = configuration(f);
    EXPECT_EQ(json["main_str"], "A\x01\x1F"
                                "B");
}

TEST(DisplayQueries, CustomerDisplayTextLandsOnTheScreen) {
    SimFixture f;
    f.tell(hex("1F 24 05 02") + "AB");
    f.tell(hex("0B") + std::string(20, 'x') + std::string(20, 'y'));
    auto state = f.sim().state();
    EXPECT_EQ(state.screen[0], std::string(20, 'x'));
    EXPECT_EQ(state.screen[1], std::string(20, 'y'));
    f.tell(hex("0C"));
    f.tell(hex("1F 24 14 04") + "Z");
    state = f.sim().state();
    EXPECT_EQ(state.screen[0], std::string(20, ' '));
    EXPECT_EQ(state.screen[3], std::string(19, ' ') + "Z");
}

TEST(DisplayQueries, QrCodesOnTheModelsThatDrawThem) {
    SimOptions options;
    options.model = 5;
    SimFixture f(options);
    f.tell(hex("02 07 1D 03 00") + "https://x" + hex("00"));
    f.tell(hex("02 07 1E 01 0A") + "q" + hex("00"));
    auto qr = f.sim().state().qrCodes;
    ASSERT_EQ(qr.size(), 2u);
    EXPECT_EQ(qr[0].alignment, 3);
    EXPECT_EQ(qr[0].text, "https://x");
    EXPECT_EQ(qr[1].picture, 10);

    // A model that takes QR codes as pictures refuses the text form...
    options.model = 0;
    SimFixture g(options);
    g.tell(hex("02 07 1D 02 00") + "abc" + hex("00"));
    EXPECT_TRUE(g.sim().state().qrCodes.empty());
    EXPECT_EQ(g.sim().count(LogKind::Rejected), 1u);
    // ...and takes the picture: header, 4608 data bytes, end marker.
    g.host().send(hex("02 07 19 02 00") + std::string(4608, '\x02'));
    g.tell(hex("02 07 19 00"));
    qr = g.sim().state().qrCodes;
    ASSERT_EQ(qr.size(), 1u);
    EXPECT_TRUE(qr[0].isPicture);
    EXPECT_EQ(qr[0].text, std::string(4608, '\x02'));
}

TEST(DisplayQueries, StrictAboutUnknownAndOutOfRangeFrames) {
    SimFixture f;
    for (const char* bad : {"02 07 99", "02 07 16 03", "1F 58 00", "1F 58 05", "02 07 14 03",
                            "1F 24 15 01", "02 06 63", "02 42 35", "02 07 1B 00", "02 07 1A 0B"})
        f.tell(hex(bad));
    EXPECT_EQ(f.sim().count(LogKind::Rejected), 10u);
    EXPECT_EQ(f.sim().count(LogKind::Received), 0u);
    // None of them was answered: the next reply is the model name alone.
    EXPECT_EQ(f.ask(hex("02 07 16 01"), 9), Bytes("KT350-MK") + '\0');
    EXPECT_EQ(f.sim().state().settings.back_light, 5);
    EXPECT_EQ(f.sim().state().settings.line_mode, 1);
}

} // namespace
} // namespace tavisto::sim::test
