// Draws the default pictures of the fourteen picture slots: placeholders that the
// slot previews show until the operator loads a picture. Each names the slot's role
// and number on a plain background and is written as a small JPEG file, IMG73.jpg to
// IMG86.jpg, in the folder given on the command line. They are shown, never sent.
#include "PixelFont.h"
#include "pictures/JpegCodec.h"
#include "protocol/DownloadTable.h"
#include "protocol/PictureSlots.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

namespace {

using tavisto::Bitmap;
using tavisto::Rgb;

constexpr int kHeight = 80;
constexpr int kWidth = 130;
constexpr int kHeaderPictureWidth = 274; // slot 75, a wide strip
constexpr int kHeaderPictureSlot = 75;
constexpr int kQuality = 50;

Rgb backgroundOf(int slot) {
    if (slot == tavisto::kFirstPictureSlot)
        return {38, 70, 120}; // start logo
    if (slot <= kHeaderPictureSlot)
        return {30, 110, 110}; // header logo and header picture
    if (slot == tavisto::kGuestPictureSlot)
        return {150, 95, 30};
    return {70, 80, 100}; // the slide-show pictures
}

Bitmap drawSlot(int slot) {
    const int width = slot == kHeaderPictureSlot ? kHeaderPictureWidth : kWidth;
    const Rgb background = backgroundOf(slot);
    Bitmap picture(width, kHeight, background);
    const Rgb frame{static_cast<std::uint8_t>(background.r + 60),
                    static_cast<std::uint8_t>(background.g + 60),
                    static_cast<std::uint8_t>(background.b + 60)};
    for (int x = 0; x < width; ++x) {
        picture.setPixel(x, 2, frame);
        picture.setPixel(x, kHeight - 3, frame);
    }
    for (int y = 2; y < kHeight - 2; ++y) {
        picture.setPixel(2, y, frame);
        picture.setPixel(width - 3, y, frame);
    }
    // The role as the transfer job names it, then the slot number below it.
    const std::string role = tavisto::DownFileAt(tavisto::PositionOfSlot(slot)).Name;
    const std::string number = std::to_string(slot);
    const Rgb ink{255, 255, 255};
    using tavisto::resources::DrawText;
    using tavisto::resources::TextWidth;
    DrawText(picture, (width - TextWidth(role, 2)) / 2, 18, role, 2, ink);
    DrawText(picture, (width - TextWidth(number, 2)) / 2, 46, number, 2, frame);
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    try {
        for (int slot = tavisto::kFirstPictureSlot; slot <= tavisto::kLastPictureSlot; ++slot) {
            const std::string path = std::string(argv[1]) + "/IMG" + std::to_string(slot) + ".jpg";
            const tavisto::Bytes jpeg = tavisto::EncodeJpeg(drawSlot(slot), kQuality);
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file.write(jpeg.data(), static_cast<std::streamsize>(jpeg.size()));
            if (!file.flush()) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
