#include "protocol/DisplayFrames.h"

#include "tests/support/Wire.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavisto::testing {
namespace {

using namespace std::string_literals;

struct BuiltFrame {
    const char* name;
    Bytes frame;
    Bytes expected;
};

void expectFrames(const std::vector<BuiltFrame>& cases) {
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(testCase.frame, testCase.expected);
    }
}

// The limits the one-shot frames put on their parameters.
TEST(DisplayFrames, OneShotParametersAreKeptInRange) {
    const Bytes text45(45, 'T');
    expectFrames({
        {"brightness 0", BrightnessFrame(0), wire("1F 58 01")},
        {"brightness -3", BrightnessFrame(-3), wire("1F 58 01")},
        {"brightness 1", BrightnessFrame(1), wire("1F 58 01")},
        {"brightness 4", BrightnessFrame(4), wire("1F 58 04")},
        {"brightness 7", BrightnessFrame(7), wire("1F 58 04")},
        {"text of 45 bytes", TextFrame(text45), Bytes(40, 'T')},
        {"text of 40 bytes", TextFrame(Bytes(40, 'U')), Bytes(40, 'U')},
        {"empty text", TextFrame(""), ""},
        {"text at the last cell", TextAtFrame(20, 4, text45), wire("1F 24 14 04") + Bytes(40, 'T')},
        {"empty text at", TextAtFrame(1, 1, ""), wire("1F 24 01 01")},
    });
}

// Any mode but the display-command form selects the ESC form.
TEST(DisplayFrames, SelectionFramesHaveTwoForms) {
    expectFrames({
        {"code page", CodePageFrame(19, 1), wire("02 06 13")},
        {"code page ESC form", CodePageFrame(19, 0), wire("1B 74 13")},
        {"code page, other mode", CodePageFrame(0, 2), wire("1B 74 00")},
        {"inter char", InterCharFrame(8, 1), wire("02 05 08")},
        {"inter char ESC form", InterCharFrame(8, 2), wire("1B 52 08")},
    });
}

TEST(DisplayFrames, NumbersTravelHighByteFirstOrAsDigits) {
    expectFrames({
        {"link 115200", LinkBaudRateFrame(115200), wire("02 07 04 00 01 C2 00")},
        {"link 9600", LinkBaudRateFrame(9600), wire("02 07 04 00 00 25 80")},
        {"picture selection", PictureSelectionFrame(0x8001), wire("02 07 28 80 01")},
        {"picture selection none", PictureSelectionFrame(0), wire("02 07 28 00 00")},
        {"command mode 12", CommandModeFrame(12), wire("02 43 31 32")},
        {"command mode 3", CommandModeFrame(3), wire("02 43 33")},
        {"display baud 10", BaudRateFrame(10), wire("02 42 31 30")},
    });
}

// A zero inside a terminated text would end it early and turn the rest into
// commands (here "format storage"): the text is cut at the zero.
TEST(DisplayFrames, TerminatedTextsEndAtTheirFirstZero) {
    const Bytes formatting = "AB\0\x02\x07\x05\x00"s;
    expectFrames({
        {"empty welcome 1", WelcomeLine1Frame(""), wire("02 07 16 06 00")},
        {"welcome 1 with a zero", WelcomeLine1Frame(formatting), wire("02 07 16 06 41 42 00")},
        {"welcome 2 with a zero", WelcomeLine2Frame(formatting), wire("02 07 16 07 41 42 00")},
        {"qr code with a zero", QrCodeFrame(2, formatting), wire("02 07 1D 02 00 41 42 00")},
        {"empty qr code", QrCodeFrame(0, ""), wire("02 07 1D 00 00 00")},
        {"qr code at with a zero", QrCodeAtFrame(1, 9, formatting),
         wire("02 07 1E 01 09 41 42 00")},
        // The main text is not terminated: it goes as it is.
        {"main text", MainTextFrame("A\0B"s), wire("02 07 18 41 00 42")},
    });
}

TEST(DisplayFrames, QrPictureAndQueryFrames) {
    expectFrames({
        {"qr picture header", QrImageHeaderFrame(2, 1), wire("02 07 19 02 01")},
        {"qr picture end", QrImageEndFrame(), wire("02 07 19 00")},
        {"model query", ModelQueryFrame(), wire("02 07 16 01")},
        {"version query", VersionQueryFrame(), wire("02 07 16 02")},
        {"settings query", ConfigurationQueryFrame(), wire("02 07 16 05")},
    });
}

} // namespace
} // namespace tavisto::testing
