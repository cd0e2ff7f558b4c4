// Times the conversion of a large photo to a display picture: a generated 24-megapixel
// JPEG (6000 x 4000) to 800 x 480, through the same steps the conversion dialog's Open
// and OK take (decode, scale for the view, cut out the frame), written as BMP. Beside it
// the same job by ImageMagick's convert, when installed, for scale.
//
//   convert_bench [WIDTH HEIGHT [RUNS]]

#include "pictures/BmpCodec.h"
#include "pictures/ByteFiles.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureConvert.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace tavisto;

namespace {

constexpr const char* kImageMagick = "/usr/bin/convert";

// A photo-like test picture: smooth gradients, a few large shapes and fine noise, so
// the JPEG is of a realistic size rather than trivially compressible.
Bitmap makePhoto(int width, int height) {
    Bitmap photo(width, height);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = photo.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = static_cast<int>(noise & 31) - 16;
            const int dx = x - width / 2;
            const int dy = y - height / 2;
            const bool disc = dx * dx + dy * dy < (height / 3) * (height / 3);
            const int r = x * 255 / width + grain;
            const int g = y * 255 / height + grain;
            const int b = (disc ? 200 : 60) + grain;
            p[0] = static_cast<std::uint8_t>(std::clamp(r, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(b, 0, 255));
        }
    }
    return photo;
}

double seconds(const std::function<void()>& job) {
    const auto start = std::chrono::steady_clock::now();
    job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
    double best;
    double median;
};

Timing repeat(int runs, const std::function<void()>& job) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(seconds(job));
    std::sort(times.begin(), times.end());
    return Timing{times.front(), times[times.size() / 2]};
}

} // namespace

int main(int argc, char** argv) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 6000;
    const int height = argc > 2 ? std::atoi(argv[2]) : 4000;
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const PictureSize target{800, 480};

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "tavisto-convert-bench";
    std::filesystem::create_directories(dir);
    const std::string input = (dir / "in.jpg").string();
    const std::string ours = (dir / "ours.bmp").string();
    const std::string theirs = (dir / "imagemagick.bmp").string();

    std::printf("Generating a %d x %d JPEG (%.1f megapixels)...\n", width, height,
                width * static_cast<double>(height) / 1e6);
    SaveBytesToFile(input, BitmapToJpeg(makePhoto(width, height)));
    std::printf("  %s, %.1f MB\n", input.c_str(),
                static_cast<double>(std::filesystem::file_size(input)) / 1e6);

    // What the dialog does between choosing the file and showing it, then OK and Save.
    PictureView view;
    const Timing convert = repeat(runs, [&] {
        const Bytes file = FileToBytes(input);
        const OpenedPicture opened = OpenPictureForTarget(file, PictureFormat::Jpeg, target);
        view = opened.view;
        const SelectionLayout layout = CentredLayout(kPreviewPanelSize, opened.view.size, target);
        SaveBytesToFile(ours, EncodeBmp(BuildResult(opened, layout.view, layout.frame)));
    });
    const Timing fullDecode = repeat(std::min(runs, 3), [&] { DecodeJpeg(FileToBytes(input)); });

    std::printf("\nTavisto, %d x %d to %d x %d (view %d x %d), %d runs:\n", width, height,
                target.width, target.height, view.size.width, view.size.height, runs);
    std::printf("  open + OK + save BMP   best %7.1f ms   median %7.1f ms\n", convert.best * 1e3,
                convert.median * 1e3);
    std::printf("  (a full-size decode alone takes %.1f ms)\n", fullDecode.best * 1e3);

    if (!std::filesystem::exists(kImageMagick)) {
        std::printf("\n%s not found: no comparison.\n", kImageMagick);
        return 0;
    }
    const std::string command = std::string(kImageMagick) + " '" + input +
                                "' -resize 800x480^ -gravity center -extent 800x480 '" + theirs +
                                "'";
    int status = 0;
    const Timing magick = repeat(std::min(runs, 3), [&] { status = std::system(command.c_str()); });
    if (status != 0) {
        std::printf("\nImageMagick failed (status %d): no comparison.\n", status);
        return 0;
    }
    std::printf("\nImageMagick convert, %d runs:\n", std::min(runs, 3));
    std::printf("  resize + extent + BMP  best %7.1f ms   median %7.1f ms\n", magick.best * 1e3,
                magick.median * 1e3);
    std::printf("\nImageMagick / Tavisto (best times): %.1f x\n", magick.best / convert.best);
    return 0;
}
