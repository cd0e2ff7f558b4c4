// "Download" of picture slots through the serial layer's seam and the transfer engine
// against the simulated display, on the virtual clock: what the display stores for
// each transfer style.
#include "app/pictures/PictureDownload.h"
#include "pictures/JpegCodec.h"
#include "tests/app/SimulatedWorkflow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavisto::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255};

// The top half red, the bottom half blue.
Bitmap twoBands(int width, int height) {
    Bitmap picture(width, height, kBlue);
    for (int y = 0; y < height / 2; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, kRed);
    return picture;
}

Bytes repeated(const Bytes& pixel, std::size_t count) {
    Bytes bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes += pixel;
    return bytes;
}

class PictureDownloadSimTest : public SimulatedWorkflowTest {
protected:
    void download(int model, std::initializer_list<int> checkedSlots) {
        TSlotChecks checks{};
        for (int slot : checkedSlots)
            checks[static_cast<std::size_t>(slot - 73)] = true;
        ASSERT_TRUE(
            btn_DownloadPictrueClick(connection, op, FindModel(model), runner, slots, checks));
        ASSERT_TRUE(finish(60s));
    }
};

TEST_F(PictureDownloadSimTest, AddressedModelStoresRawRgb565AtTheSlotAddresses) {
    startDisplay(0); // KT350--MKA, 480 x 272
    slots.place(74, twoBands(120, 40));
    slots.place(76, Bitmap(480, 272)); // white
    slots.place(86, Bitmap(800, 360)); // loaded on a model that has the guest slot
    download(0, {73, 74, 76, 86});

    const auto flash = display->storage().flash;
    EXPECT_EQ(flash.size(), 2u);
    // Red is F800 and blue 001F, low byte first, rows from the top.
    EXPECT_EQ(flash.at(0x00F43000),
              repeated(Bytes("\x00\xF8", 2), 120 * 20) + repeated(Bytes("\x1F\x00", 2), 120 * 20));
    EXPECT_EQ(flash.at(0x005B7000), repeated(Bytes("\xFF\xFF", 2), 480 * 272));
    EXPECT_THAT(LogLines(op), ElementsAre("log! Pic_Guest [Failed]:not suport"));
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 2 / Failed 0]", 64}));
    EXPECT_EQ(display->baudRate(), 9600);
}

TEST_F(PictureDownloadSimTest, NamedModelStoresJpegFilesOfTheSlotSize) {
    startDisplay(5); // KT350-MK, 800 x 480, with the guest slot
    slots.place(74, twoBands(240, 80));
    slots.place(86, twoBands(800, 360));
    download(5, {73, 74, 86});

    const auto files = display->storage().files;
    EXPECT_EQ(files.size(), 2u);
    const Bitmap logo = DecodeJpeg(files.at("logo_m0.jpg"));
    const Bitmap guest = DecodeJpeg(files.at("Guest.jpg"));
    EXPECT_EQ(logo.width(), 240);
    EXPECT_EQ(logo.height(), 80);
    EXPECT_EQ(guest.width(), 800);
    EXPECT_EQ(guest.height(), 360);
    // The top of each picture is red and the bottom blue.
    for (const Bitmap* picture : {&logo, &guest}) {
        const Rgb top = picture->pixel(picture->width() / 2, 5);
        const Rgb bottom = picture->pixel(picture->width() / 2, picture->height() - 5);
        EXPECT_GT(top.r, 200);
        EXPECT_LT(top.b, 60);
        EXPECT_GT(bottom.b, 200);
        EXPECT_LT(bottom.r, 60);
    }
    EXPECT_TRUE(LogLines(op).empty());
    EXPECT_EQ(op.lastBox(), (Box{"Done! [Succeed 2 / Failed 0]", 64}));
}

} // namespace
} // namespace tavisto::testing
