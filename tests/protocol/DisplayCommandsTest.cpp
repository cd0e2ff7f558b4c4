#include "protocol/DisplayCommands.h"

#include "ConnectionFixture.h"

namespace tavisto::testing {
namespace {

// Every command's frame, through its own port, is in ProtocolSimTest.
class OneShot : public ConnectionTest {};

TEST_F(OneShot, PortAndWriteFailuresAreReported) {
    connection.CurrentPortName = "";
    EXPECT_FALSE(VfdClearDisplay(connection, 0, message));
    EXPECT_EQ(message, " Error opening serial port!");
    connection.CurrentPortName = "/dev/ttyGONE";
    EXPECT_FALSE(VfdRestartDisplay(connection, message));
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_TRUE(line.events().empty());

    connection.CurrentPortName = "/dev/ttyFAKE0";
    line.failWrites = true;
    EXPECT_FALSE(VfdSetBrightness(connection, 2, message));
    EXPECT_EQ(message, "1: 5");
    EXPECT_FALSE(connection.OneShotPort);
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kClose}));
}

TEST_F(OneShot, UsesTheConnectionSpeed) {
    connection.CurrentBaudRate = 57600;
    ASSERT_TRUE(VfdClearDisplay(connection, 0, message));
    EXPECT_EQ(line.events().front().baudRate, 57600);
}

class NoReply : public ConnectionTest {};

TEST_F(NoReply, ClosesEvenASessionTheCallerOpened) {
    openSession();
    EXPECT_TRUE(LcdFormatStorage(connection, message));
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(line.kinds(), (Kinds{kOpen, kWrite, kClose}));
}

TEST_F(NoReply, FailuresAreReported) {
    connection.CurrentPortName = "/dev/ttyGONE";
    EXPECT_FALSE(LcdShowPicture(connection, 1, message));
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_TRUE(line.events().empty());

    connection.CurrentPortName = "/dev/ttyFAKE0";
    line.failWrites = true;
    EXPECT_FALSE(LcdSetWelcomeLine2(connection, "x", message));
    EXPECT_EQ(message, "1: 5");
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(NoReply, LinkSpeedNeedsAnOpenSessionAndKeepsIt) {
    EXPECT_FALSE(LcdSetLinkBaudRate(connection, 115200, message));
    EXPECT_EQ(message, "Serial Port Not Opened!");
    EXPECT_TRUE(line.events().empty());

    openSession();
    EXPECT_TRUE(LcdSetLinkBaudRate(connection, 115200, message));
    EXPECT_TRUE(LcdSetLinkBaudRate(connection, 9600, message));
    EXPECT_EQ(message, "OK");
    EXPECT_TRUE(connection.SessionPort);
    EXPECT_EQ(line.writes(),
              (std::vector<Bytes>{wire("02 07 04 00 01 C2 00"), wire("02 07 04 00 00 25 80")}));
    EXPECT_EQ(traced, (std::vector<std::string>{"----> 0207040001C200", "----> 02070400002580"}));
}

class Echo : public ConnectionTest {};

TEST_F(Echo, ColourFramesCarryRedGreenBlueByArea) {
    displayAt(9600);
    const std::uint32_t color = 0x00336699; // blue 33, green 66, red 99
    ASSERT_TRUE(LcdSetTextColor(connection, TArea::Header, color, message));
    ASSERT_TRUE(LcdSetTextColor(connection, TArea::Main, color, message));
    ASSERT_TRUE(LcdSetTextColor(connection, TArea::Footer, color, message));
    ASSERT_TRUE(LcdSetBackgroundColor(connection, TArea::Header, color, message));
    ASSERT_TRUE(LcdSetBackgroundColor(connection, TArea::Main, color, message));
    ASSERT_TRUE(LcdSetBackgroundColor(connection, TArea::Footer, color, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(line.writes(),
              (std::vector<Bytes>{wire("02 07 0B 99 66 33"), wire("02 07 0E 99 66 33"),
                                  wire("02 07 10 99 66 33"), wire("02 07 0C 99 66 33"),
                                  wire("02 07 0F 99 66 33"), wire("02 07 11 99 66 33")}));
    EXPECT_FALSE(connection.SessionPort);
    EXPECT_EQ(traced[0], "----> 02070B996633");
    EXPECT_EQ(traced[1], "<---- 02070B996633");
}

TEST_F(Echo, HeaderModeSucceedsOnlyOnTheExactEcho) {
    displayAt(9600);
    EXPECT_TRUE(LcdSetHeaderMode(connection, 10, message));
    EXPECT_EQ(message, "OK");

    misbehave([](sim::Faults& f) { f.wrongEcho = true; });
    EXPECT_FALSE(LcdSetHeaderMode(connection, 10, message));
    EXPECT_EQ(message, "Set Title mode Error!");
    EXPECT_EQ(traced.back(), "<---- 02070B");

    // Longer than the frame: complete, but not equal.
    misbehave([](sim::Faults& f) { f.trailer = wire("00"); });
    EXPECT_FALSE(LcdSetHeaderMode(connection, 9, message));
    EXPECT_EQ(message, "Set Title mode Error!");
    EXPECT_FALSE(connection.SessionPort);
}

TEST_F(Echo, WrongEchoesGiveEachCommandsText) {
    displayAt(9600, 5, [](sim::Faults& f) { f.wrongEcho = true; });
    EXPECT_FALSE(LcdSetTextColor(connection, TArea::Main, 0x030201, message));
    EXPECT_EQ(message, "Set TextColor Error!");
    EXPECT_FALSE(LcdSetBackgroundColor(connection, TArea::Footer, 0x030201, message));
    EXPECT_EQ(message, "Set BackgroudColor Error!");
}

TEST_F(Echo, AnEchoSplitAcrossPollsIsAssembled) {
    displayAt(9600, 5, [](sim::Faults& f) {
        f.splitAt = 2;
        f.splitPause = 500ms;
        f.replyDelay = 450ms;
    });
    EXPECT_TRUE(LcdSetTextColor(connection, TArea::Footer, 0xFFFFFF, message));
    // Polled at 500 ms (two bytes) and 1000 ms after the write (the rest).
    EXPECT_EQ(clock.elapsed(), 1000ms);
}

TEST_F(Echo, TimesOutWhenTheEchoStaysShort) {
    displayAt(9600, 5, [](sim::Faults& f) { f.shortEcho = true; });
    EXPECT_FALSE(LcdSetTextColor(connection, TArea::Main, 0, message));
    EXPECT_EQ(message, "Set TextColor Error : Time out !");
    // 500 ms pause, polls every 100 ms until more than 1728 ms have passed.
    EXPECT_EQ(clock.elapsed(), 500ms + 1800ms);
    EXPECT_FALSE(connection.SessionPort);

    misbehave([](sim::Faults& f) { f.silent = true; });
    EXPECT_FALSE(LcdSetBackgroundColor(connection, TArea::Header, 0, message));
    EXPECT_EQ(message, "Set BackgroudColor Error : Time out !");
    EXPECT_FALSE(LcdSetHeaderMode(connection, 10, message));
    EXPECT_EQ(message, "Set Title mode Error : Time out !");
}

TEST_F(Echo, TheLastPollIsAt1700Milliseconds) {
    displayAt(9600, 5, [](sim::Faults& f) { f.replyDelay = 500ms + 1700ms; });
    EXPECT_TRUE(LcdSetHeaderMode(connection, 10, message));
    misbehave([](sim::Faults& f) { f.replyDelay = 500ms + 1701ms; });
    EXPECT_FALSE(LcdSetHeaderMode(connection, 10, message));
    EXPECT_EQ(message, "Set Title mode Error : Time out !");
}

TEST_F(Echo, PortFailureSendsNothing) {
    connection.CurrentPortName = "/dev/ttyGONE";
    EXPECT_FALSE(LcdSetTextColor(connection, TArea::Main, 0, message));
    EXPECT_EQ(message, " Error opening serial port!");
    EXPECT_TRUE(line.events().empty());
    EXPECT_EQ(clock.elapsed(), 0ms);
}

TEST_F(Echo, MainTextLinesReadOnceAfterHalfASecond) {
    displayAt(9600, 5, [](sim::Faults& f) { f.replyDelay = 490ms; });
    EXPECT_TRUE(LcdSetMainTextLines(connection, 2, message));
    EXPECT_EQ(message, "OK");
    EXPECT_EQ(traced, (std::vector<std::string>{"----> 02071402", "<---- 02071402"}));

    misbehave([](sim::Faults& f) { f.replyDelay = 510ms; });
    EXPECT_FALSE(LcdSetMainTextLines(connection, 1, message));
    EXPECT_EQ(message, "Set Main Text Lines Error!");
    EXPECT_EQ(traced.back(), "----> 02071401"); // nothing received, nothing traced

    misbehave([](sim::Faults& f) { f.wrongEcho = true; });
    EXPECT_FALSE(LcdSetMainTextLines(connection, 1, message));
    EXPECT_EQ(message, "Set Main Text Lines Error!");
    EXPECT_FALSE(connection.SessionPort);
}

class QrImage : public ConnectionTest {};

TEST_F(QrImage, SendsHeaderPiecesAndEndOnTheOpenSession) {
    EXPECT_EQ(LcdSendQrImage(connection, std::string(4608, '\xFF'), 2, 0), 13);
    EXPECT_TRUE(line.events().empty());

    openSession();
    Bytes image;
    for (int i = 0; i < 4608; ++i)
        image.push_back(static_cast<char>(i % 251));
    EXPECT_EQ(LcdSendQrImage(connection, image, 2, 0), 0);
    const auto writes = line.writes();
    ASSERT_EQ(writes.size(), 1u + 18u + 1u);
    EXPECT_EQ(writes.front(), wire("02 07 19 02 00"));
    Bytes sent;
    for (std::size_t i = 1; i < 19; ++i) {
        EXPECT_EQ(writes[i].size(), 256u);
        sent += writes[i];
    }
    EXPECT_EQ(sent, image);
    EXPECT_EQ(writes.back(), wire("02 07 19 00"));
    EXPECT_TRUE(connection.SessionPort);
    EXPECT_EQ(line.events()[1].at, 100ms);
    EXPECT_EQ(line.events()[2].at, 200ms);
    EXPECT_EQ(line.events().back().at, 300ms);
    EXPECT_EQ(clock.elapsed(), 1300ms);

    line.failWrites = true;
    EXPECT_EQ(LcdSendQrImage(connection, image, 1, 0), 16);
}

TEST_F(QrImage, LostPiecesAreAFailureOfTheirOwn) {
    openSession();
    // The header goes through; from then on the line fails.
    line.onWrite = [this](const Bytes&) {
        line.failWrites = true;
    };
    EXPECT_EQ(LcdSendQrImage(connection, std::string(4608, '\x55'), 2, 0), 17);
    const auto writes = line.writes();
    ASSERT_EQ(writes.size(), 20u);
    EXPECT_EQ(writes.back(), wire("02 07 19 00"));
    // No display-settle pause for a picture that did not arrive.
    EXPECT_EQ(clock.elapsed(), 300ms);
}

} // namespace
} // namespace tavisto::testing
