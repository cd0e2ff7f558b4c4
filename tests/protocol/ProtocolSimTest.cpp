// Every command's frames as the display takes them and the discovery queries, against
// the virtual display's device on the fake line and the virtual clock; misbehaving
// displays are in DiscoveryTest and DisplayCommandsTest.
#include "protocol/Discovery.h"
#include "protocol/DisplayCommands.h"
#include "protocol/Session.h"
#include "tests/protocol/ConnectionFixture.h"

#include <functional>

namespace tavisto::testing {
namespace {

using namespace std::string_literals;

class OnVirtualDisplay : public ConnectionTest {
protected:
    void start(int model, int baudRate) {
        displayAt(baudRate, model);
        connection.CurrentBaudRate = baudRate;
    }

    // The frames the display has taken since the last call, once it is idle.
    std::vector<Bytes> newFrames() {
        EXPECT_TRUE(display->settle());
        const auto frames = display->receivedFrames();
        std::vector<Bytes> fresh(frames.begin() + static_cast<std::ptrdiff_t>(seen), frames.end());
        seen = frames.size();
        return fresh;
    }

    std::size_t seen = 0;
};

struct Sent {
    const char* name;
    std::function<bool(TConnection&, std::string&)> send;
    std::vector<Bytes> frames; // as the display took them
};

// Each command goes out in one write through a port of its own, opened and closed
// around it, and arrives as sent; only the echoed ones wait, and trace.
TEST_F(OnVirtualDisplay, EveryCommandArrivesAsSent) {
    start(5, 9600);
    const std::vector<Sent> commands = {
        {"clear", [](auto& c, auto& m) { return VfdClearDisplay(c, 0, m); }, {wire("0C")}},
        {"text", [](auto& c, auto& m) { return VfdSendText(c, "HELLO", m); }, {"HELLO"}},
        {"text of 45 bytes",
         [](auto& c, auto& m) { return VfdSendText(c, std::string(45, 'T'), m); },
         {std::string(40, 'T')}},
        {"raw, not cut",
         [](auto& c, auto& m) { return VfdSendRaw(c, std::string(41, '\xE0'), m); },
         {std::string(41, '\xE0')}},
        {"text at",
         [](auto& c, auto& m) { return VfdSendTextAt(c, 5, 2, "AB", m); },
         {wire("1F 24 05 02"), "AB"}},
        {"brightness",
         [](auto& c, auto& m) { return VfdSetBrightness(c, 9, m); },
         {wire("1F 58 04")}},
        {"brightness 3",
         [](auto& c, auto& m) { return VfdSetBrightness(c, 3, m); },
         {wire("1F 58 03")}},
        {"code page",
         [](auto& c, auto& m) { return VfdSelectCodePage(c, 19, 1, m); },
         {wire("02 06 13")}},
        {"inter char",
         [](auto& c, auto& m) { return VfdSelectInterChar(c, 8, 1, m); },
         {wire("02 05 08")}},
        {"text colour",
         [](auto& c, auto& m) { return LcdSetTextColor(c, TArea::Main, 0x336699, m); },
         {wire("02 07 0E 99 66 33")}},
        {"background",
         [](auto& c, auto& m) { return LcdSetBackgroundColor(c, TArea::Footer, 0xFF0000, m); },
         {wire("02 07 11 00 00 FF")}},
        {"header mode",
         [](auto& c, auto& m) { return LcdSetHeaderMode(c, 9, m); },
         {wire("02 07 09")}},
        {"main lines",
         [](auto& c, auto& m) { return LcdSetMainTextLines(c, 2, m); },
         {wire("02 07 14 02")}},
        {"main text",
         [](auto& c, auto& m) { return LcdSetMainText(c, "MAIN", m); },
         {wire("02 07 18 4D 41 49 4E")}},
        {"welcome 1",
         [](auto& c, auto& m) { return LcdSetWelcomeLine1(c, "HI", m); },
         {wire("02 07 16 06 48 49 00")}},
        {"welcome 2",
         [](auto& c, auto& m) { return LcdSetWelcomeLine2(c, "", m); },
         {wire("02 07 16 07 00")}},
        {"scroll",
         [](auto& c, auto& m) { return LcdSetLine2Scroll(c, 5, m); },
         {wire("02 07 16 09 05")}},
        {"picture",
         [](auto& c, auto& m) { return LcdShowPicture(c, 3, m); },
         {wire("02 07 1A 03")}},
        {"selection",
         [](auto& c, auto& m) { return LcdSetPictureSelection(c, 0x0203, m); },
         {wire("02 07 28 02 03")}},
        {"standby",
         [](auto& c, auto& m) { return LcdSetStandbyTime(c, 120, m); },
         {wire("02 07 1C 78")}},
        {"interval",
         [](auto& c, auto& m) { return LcdSetPlayInterval(c, 10, m); },
         {wire("02 07 1B 0A")}},
        {"qr",
         [](auto& c, auto& m) { return LcdShowQrCode(c, 3, "QR", m); },
         {wire("02 07 1D 03 00 51 52 00")}},
        {"qr at",
         [](auto& c, auto& m) { return LcdShowQrCodeAt(c, 1, 7, "QR", m); },
         {wire("02 07 1E 01 07 51 52 00")}},
        {"command mode",
         [](auto& c, auto& m) { return LcdSetCommandMode(c, 12, m); },
         {wire("02 43 31 32")}},
        {"display baud",
         [](auto& c, auto& m) { return LcdSetBaudRate(c, 0, m); },
         {wire("02 42 30")}},
        {"link baud",
         [](auto& c, auto& m) {
             std::string openMessage;
             LcdOpenSession(c, c.CurrentPortName, c.CurrentBaudRate, openMessage);
             const bool ok = LcdSetLinkBaudRate(c, 9600, m);
             LcdCloseSession(c);
             return ok;
         },
         {wire("02 07 04 00 00 25 80")}},
        {"format", [](auto& c, auto& m) { return LcdFormatStorage(c, m); }, {wire("02 07 05 00")}},
        {"factory reset",
         [](auto& c, auto& m) { return VfdFactoryReset(c, m); },
         {wire("02 07 15 27 27")}},
        {"restart",
         [](auto& c, auto& m) { return VfdRestartDisplay(c, m); },
         {wire("02 1D AA 55")}},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        const std::size_t before = line.events().size();
        const std::size_t answered = display->answers().size();
        EXPECT_TRUE(command.send(connection, message)) << message;
        EXPECT_EQ(message, "OK");
        EXPECT_EQ(newFrames(), command.frames);
        EXPECT_FALSE(connection.SessionPort);
        EXPECT_FALSE(connection.OneShotPort);
        const auto& events = line.events();
        ASSERT_EQ(events.size(), before + 3);
        EXPECT_EQ(events[before].kind, LineEvent::Open);
        Bytes written;
        for (const Bytes& frame : command.frames)
            written += frame;
        EXPECT_EQ(events[before + 1].bytes, written);
        EXPECT_EQ(events[before + 2].kind, LineEvent::Close);
        if (display->answers().size() == answered) {
            EXPECT_EQ(events[before + 2].at, events[before].at) << "waited for nothing";
        }
    }
    EXPECT_EQ(display->count(sim::LogKind::Rejected), 0u);
    EXPECT_EQ(traced, (std::vector<std::string>{"----> 02070E996633", "<---- 02070E996633",
                                                "----> 0207110000FF", "<---- 0207110000FF",
                                                "----> 020709", "<---- 020709", "----> 02071402",
                                                "<---- 02071402", "----> 02070400002580"}));
}

TEST_F(OnVirtualDisplay, DiscoveryCommands) {
    start(3, 19200);
    EXPECT_EQ(LcdIdentifyModel(connection, message), 3);
    display->setVersion(13);
    EXPECT_EQ(LcdReadVersion(connection, message), 13u);
    std::string configuration;
    LcdGetConfiguration(connection, message, configuration);
    EXPECT_EQ(message, "OK");
    EXPECT_TRUE(configuration.starts_with("{")) << configuration;
    EXPECT_NE(configuration.find("\"wel_mess1\""), std::string::npos);
    EXPECT_TRUE(configuration.ends_with("}"s + '\0'));
    EXPECT_TRUE(LcdWaitReady(connection, message));
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(newFrames(), (std::vector<Bytes>{wire("02 07 16 01"), wire("02 07 16 02"),
                                               wire("02 07 16 05"), wire("02 07 16 01")}));
}

} // namespace
} // namespace tavisto::testing
