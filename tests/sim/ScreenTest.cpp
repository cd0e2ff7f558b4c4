// The virtual display's screen: what lands where, in which glyphs and colours.

#include "BareDisplay.h"
#include "HostPort.h"
#include "pictures/PngCodec.h"
#include "sim/device/Display.h"
#include "sim/screen/ScreenFeed.h"
#include "sim/screen/ScreenPng.h"
#include "sim/screen/ScreenRenderer.h"
#include "tests/support/TempFolder.h"

#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace tavisto::sim::test {
namespace {

// Glyph images with a pattern of their own for every code, so a glyph drawn from the
// wrong image, the wrong cell or the wrong place does not match. A cell is `height`
// rows of width/8 bytes.
Bytes patternFont(int width, int height, int cells, int seed) {
    Bytes image;
    for (int c = 0; c < cells; ++c)
        for (int row = 0; row < height; ++row)
            for (int b = 0; b < width / 8; ++b)
                image += static_cast<char>((c * 37 + row * 11 + b * 5 + seed * 91) % 251);
    return image;
}

// The program's own images, here made up: CP437 in both sizes of the 800 x 480 panel.
struct BuiltInFonts {
    std::map<std::string, Bytes> images{
        {"CP437_800X480", patternFont(40, 80, 256, 1)},
        {"mini_CP437_800X480", patternFont(24, 48, 256, 2)},
        {"CP437_480X272", patternFont(24, 48, 256, 3)},
        {"mini_CP437_480X272", patternFont(16, 32, 256, 4)},
    };
    FontFallback fallback() const {
        return [this](std::string_view name) -> std::optional<std::string_view> {
            auto it = images.find(std::string(name));
            if (it == images.end())
                return std::nullopt;
            return std::string_view(it->second);
        };
    }
};

bool inkAt(const Bytes& font, int cellWidth, int cellHeight, int code, int x, int y) {
    const int rowBytes = cellWidth / 8;
    const auto byte = static_cast<unsigned char>(
        font[static_cast<std::size_t>((code * cellHeight + y) * rowBytes + x / 8)]);
    return (byte & (0x80 >> (x % 8))) != 0;
}

TEST(Screen, TextAtColumnFiveRowTwoIsDrawnInTheStoredFontElseTheBuiltInOne) {
    BuiltInFonts builtIn;
    SimOptions options;
    options.model = 5; // 800 x 480, files by name
    options.baudRate = 115200;
    SimFixture f(options);
    f.tell(hex("0C"));
    f.tell(hex("1F 24 05 02") + "A");
    ScreenFeed feed(f.sim(), builtIn.fallback());

    // The cell of column 5, row 2: 40 x 80 pixels, the four rows of the text area in
    // the middle of the main area (80 to 432).
    const int cellX = 4 * 40;
    const int cellY = 80 + (352 - 4 * 80) / 2 + 80;
    const std::uint16_t ink = 0x07FF; // the default main text colour
    auto expectOnly = [&](const Bytes& font, const char* which) {
        ASSERT_TRUE(feed.refresh(std::chrono::steady_clock::now())) << which;
        const Framebuffer& frame = feed.frame();
        int mismatches = 0;
        for (int y = 80; y < 432; ++y)
            for (int x = 0; x < 800; ++x) {
                const bool inCell = x >= cellX && x < cellX + 40 && y >= cellY && y < cellY + 80;
                const bool want = inCell && inkAt(font, 40, 80, 'A', x - cellX, y - cellY);
                mismatches += (frame.pixel(x, y) == ink) != want;
            }
        EXPECT_EQ(mismatches, 0) << which;
    };
    expectOnly(builtIn.images["CP437_800X480"], "built-in font");

    const Bytes stored = patternFont(40, 80, 256, 7);
    const std::string crc = std::to_string(testCrc(stored));
    EXPECT_EQ(f.ask(hex("02 07 05 01") + "437_80x40.bin,102400," + crc + "\n", 4), "OK\r\n");
    f.host().send(stored);
    EXPECT_EQ(f.host().readUntil('\n'), crc + "\n");
    expectOnly(stored, "downloaded font");
}

// A viewer is handed a new picture only when the screen changed (the --screen file is
// rewritten only then), and the PNG holds the panel's light pixel for pixel.
TEST(Screen, FeedReportsOnlyChangesAndThePngHoldsTheScreen) {
    SimOptions options;
    options.baudRate = 115200;
    SimFixture f(options);
    f.tell(hex("02 07 16 09 03")); // neither welcome line scrolls
    ScreenFeed feed(f.sim(), {});
    EXPECT_TRUE(feed.refresh(std::chrono::steady_clock::now()));
    EXPECT_FALSE(feed.refresh(std::chrono::steady_clock::now()));
    f.tell(hex("02 07 16 02")); // a query changes nothing on the screen
    EXPECT_FALSE(feed.refresh(std::chrono::steady_clock::now()));
    f.tell(hex("02 07 0F 00 FF 00")); // main area green
    ASSERT_TRUE(feed.refresh(std::chrono::steady_clock::now()));
    EXPECT_EQ(feed.frame().pixel(0, 100), 0x07E0);

    testing::TempFolder folder;
    const std::string path = (folder.path() / "screen.png").string();
    std::string message;
    ASSERT_TRUE(saveScreenPng(path, feed.frame(), feed.brightnessStep(), message)) << message;
    const Bitmap png = DecodePng(folder.read("screen.png"));
    ASSERT_EQ(png.width(), 800);
    ASSERT_EQ(png.height(), 480);
    EXPECT_EQ(png.data(), panelLight(feed.frame(), feed.brightnessStep()));
    // Full green, dimmed to the default backlight step 2.
    EXPECT_EQ(png.pixel(0, 100),
              (Rgb{0, static_cast<std::uint8_t>(255 * backlightPercent(2) / 100), 0}));
}

TEST(Screen, StoredPictureIsShownPixelForPixel) {
    BareDisplay d(0); // 480 x 272, raw RGB565 at the picture's address
    Storage storage;
    Bytes picture(480 * 272 * 2, '\0');
    std::mt19937 random(5);
    for (char& c : picture)
        c = static_cast<char>(random());
    storage.flash[0x0072F000] = picture; // picture 3
    d.feed(hex("02 07 1A 03"));

    ScreenRenderer renderer;
    Framebuffer frame;
    renderer.draw(d.display.state(), storage, {}, frame);
    ASSERT_EQ(frame.width(), 480);
    ASSERT_EQ(frame.height(), 272);
    int mismatches = 0;
    for (int y = 0; y < 272; ++y)
        for (int x = 0; x < 480; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * 480 + x) * 2;
            const unsigned want = static_cast<unsigned char>(picture[at]) |
                                  static_cast<unsigned char>(picture[at + 1]) << 8;
            mismatches += frame.pixel(x, y) != want;
        }
    EXPECT_EQ(mismatches, 0);
}

// Idle play starts the standby time after the last command and shows the selected
// pictures in turn for the play interval each; a command ends it.
TEST(Screen, IdlePlayShowsTheSelectedPicturesInTurnAfterTheStandbyTime) {
    BareDisplay d(0);
    Storage storage;
    storage.flash[0x005B7000] = Bytes(480 * 272 * 2, '\x11'); // picture 1
    storage.flash[0x0072F000] = Bytes(480 * 272 * 2, '\x33'); // picture 3
    d.feed(hex("02 07 28 00 05 02 07 1C 05 02 07 1B 02"));    // pictures 1 and 3, 5 s, 2 s
    ScreenRenderer renderer;
    auto shownAt = [&](int seconds) {
        Framebuffer frame;
        renderer.draw(d.display.state(), storage, {Millis(0), Millis(seconds * 1000)}, frame);
        return frame.pixel(240, 136);
    };
    const std::uint16_t idle = shownAt(0);
    EXPECT_EQ(shownAt(4), idle);
    EXPECT_EQ(shownAt(5), 0x1111);
    EXPECT_EQ(shownAt(6), 0x1111);
    EXPECT_EQ(shownAt(7), 0x3333);
    EXPECT_EQ(shownAt(9), 0x1111);
    // Scrolling lines move the screen every 400 ms; while a picture covers them, only
    // the next picture does.
    EXPECT_EQ(ScreenRenderer::changesWithin(d.display.state(), {Millis(0), Millis(3000)}),
              Millis(400));
    EXPECT_EQ(ScreenRenderer::changesWithin(d.display.state(), {Millis(0), Millis(6000)}),
              Millis(1000));
}

TEST(Screen, ColourCommandChangesExactlyItsArea) {
    BuiltInFonts builtIn;
    // Red 0x99, green 0x66, blue 0x33 in RGB565: 10011 100110 00110.
    const std::uint16_t sent = 0x9B26;
    const struct {
        const char* code;
        Rect area;
        std::uint16_t DeviceSettings::*background; // the area's background before
        bool text;                                 // the text colour (else the background)
    } cases[] = {
        {"0B", {0, 0, 800, 80}, &DeviceSettings::tp_back_rgb, true},
        {"0C", {0, 0, 800, 80}, &DeviceSettings::tp_back_rgb, false},
        {"0E", {0, 80, 800, 352}, &DeviceSettings::font_Background_color, true},
        {"0F", {0, 80, 800, 352}, &DeviceSettings::font_Background_color, false},
        {"10", {0, 432, 800, 48}, &DeviceSettings::bm_back_rgb, true},
        {"11", {0, 432, 800, 48}, &DeviceSettings::bm_back_rgb, false},
    };
    for (const auto& c : cases) {
        BareDisplay d(6);
        ScreenRenderer renderer(builtIn.fallback());
        Framebuffer before;
        Framebuffer after;
        renderer.draw(d.display.state(), {}, {}, before);
        const std::uint16_t old = d.display.state().settings.*c.background;
        d.feed(hex(std::string("02 07 ") + c.code + " 99 66 33"));
        renderer.draw(d.display.state(), {}, {}, after);
        int changed = 0;
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 800; ++x) {
                const std::uint16_t was = before.pixel(x, y);
                const std::uint16_t is = after.pixel(x, y);
                const bool ours = c.area.contains(x, y) && ((was == old) != c.text);
                wrong += ours ? is != sent : is != was;
                changed += ours;
            }
        EXPECT_EQ(wrong, 0) << c.code;
        EXPECT_GT(changed, 0) << c.code;
    }
}

TEST(Screen, QrCodeOnTheScreenDecodesBackToItsText) {
    const std::string text = "https://pos.example/receipt?n=4711&t=12.50";
    for (int alignment = 1; alignment <= 3; ++alignment) {
        BareDisplay d(5); // draws QR codes itself
        d.feed(hex("02 07 1D 0" + std::to_string(alignment) + " 00") + text + hex("00"));
        ScreenRenderer renderer;
        Framebuffer frame;
        renderer.draw(d.display.state(), {}, {}, frame);
        const std::vector<std::uint8_t> light = panelLight(frame, d.display.state().brightnessStep);
        const auto result = ZXing::ReadBarcode(
            ZXing::ImageView(light.data(), frame.width(), frame.height(), ZXing::ImageFormat::RGB),
            ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
        ASSERT_TRUE(result.isValid()) << "alignment " << alignment;
        EXPECT_EQ(result.text(), text);
    }
}

} // namespace
} // namespace tavisto::sim::test
