// The emulated customer-display command sets: where their sequences put the text,
// and which command mode takes which sequence.

#include "BareDisplay.h"
#include "HostPort.h"
#include "sim/device/Display.h"

#include <gtest/gtest.h>

namespace tavisto::sim::test {
namespace {

Bytes padded(const Bytes& text) {
    Bytes out = text;
    out.resize(20, ' ');
    return out;
}

TEST(CommandSets, EscPosPositionsAndScrollModesPlaceTheText) {
    BareDisplay d;
    d.feed(hex("02 43 31")); // EPSON Esc/POS
    d.feed(hex("1B 40 1F 02 1F 24 01 04") + "12345678901234567890XY");
    // Vertical scroll: the full bottom line moved up, the rest went on below it.
    EXPECT_EQ(d.row(3), "12345678901234567890");
    EXPECT_EQ(d.row(4), padded("XY"));

    d.feed(hex("1B 40 1F 03 1F 24 01 01") + "ABCDEFGHIJKLMNOPQRSTUV");
    // Horizontal scroll: the line moved left for the two characters past its end.
    EXPECT_EQ(d.row(1), "CDEFGHIJKLMNOPQRSTUV");
    EXPECT_EQ(d.row(4), padded(""));

    d.feed(hex("1B 40 1F 42") + "Total" + hex("1F 0A 0D") + "Cola" + hex("1F 0D") + "9");
    // Bottom row, then one up and back to its start, then the right end.
    EXPECT_EQ(d.row(4), padded("Total"));
    EXPECT_EQ(d.row(3), "Cola               9");
    // Writing the last column wrapped the cursor to the next row, which CAN empties.
    d.feed(hex("18"));
    EXPECT_EQ(d.row(4), padded(""));
    EXPECT_EQ(d.row(3), "Cola               9");

    d.feed(hex("1F 43 01 1F 58 03"));
    EXPECT_TRUE(d.display.state().cursorShown);
    EXPECT_EQ(d.display.state().brightnessStep, 3);
}

TEST(CommandSets, Cd5220LinesAndCursorPlaceTheText) {
    BareDisplay d;
    d.feed(hex("02 43 37")); // CD5220
    d.feed(hex("1B 40 1B 51 41") + "TOTAL" + hex("0D 1B 51 42") + "12.50 EUR" + hex("0D"));
    EXPECT_EQ(d.row(1), padded("TOTAL"));
    EXPECT_EQ(d.row(2), padded("12.50 EUR"));
    d.feed(hex("1B 6C 0A 01") + "X" + hex("1B 5B 42 1B 5B 4C") + "Y");
    EXPECT_EQ(d.row(1), padded("TOTAL    X"));
    EXPECT_EQ(d.row(2), padded("Y2.50 EUR"));
    d.feed(hex("1B 2A 01 1B 5F 01"));
    EXPECT_EQ(d.display.state().brightnessStep, 1);
    EXPECT_TRUE(d.display.state().cursorShown);
}

TEST(CommandSets, EachModeTakesOnlyItsOwnSequencesAndAutoTakesBoth) {
    const Bytes upperLine = hex("1B 51 41") + "HELLO" + hex("0D");
    {
        BareDisplay d;
        d.feed(hex("02 43 31")); // EPSON Esc/POS does not know the CD5220 line command
        d.feed(upperLine);
        EXPECT_EQ(d.row(1), padded(""));
        ASSERT_EQ(d.journal.entries().back().kind, LogKind::Rejected);
        EXPECT_NE(d.journal.entries().back().text.find("not a EPSON Esc/POS command"),
                  std::string::npos);
    }
    {
        BareDisplay d;
        d.feed(hex("02 43 30")); // LD220 is not emulated: said so, nothing shown
        d.feed(upperLine);
        EXPECT_EQ(d.row(1), padded(""));
        EXPECT_NE(d.journal.entries().back().text.find("command set LD220 is not emulated"),
                  std::string::npos);
    }
    {
        BareDisplay d; // AUTO, as a display starts
        d.feed(upperLine);
        EXPECT_EQ(d.row(1), padded("HELLO"));
        EXPECT_EQ(d.display.state().autoCommandSet, 7);
        d.feed(hex("1F 02"));
        EXPECT_EQ(d.display.state().autoCommandSet, 1);
        EXPECT_EQ(d.display.state().writeMode, WriteMode::VerticalScroll);
    }
}

} // namespace
} // namespace tavisto::sim::test
