#include "pictures/PngCodec.h"

#include "pictures/PictureError.h"

#include <cstring>
#include <png.h>
#include <string>

namespace tavisto {
namespace {

// libpng's simplified interface catches the library's own errors internally and
// reports them as a failed call with a message, so no longjmp crosses C++ code here.
constexpr std::size_t kSignatureBytes = 8;

class PngReader {
public:
    explicit PngReader(const Bytes& file) {
        std::memset(&image_, 0, sizeof image_);
        image_.version = PNG_IMAGE_VERSION;
        // The two commonest wrong files get this program's words; libpng's would be
        // "invalid argument" and "Not a PNG file" after the name of its function.
        CheckPictureNotEmpty(file.size(), "PNG");
        if (file.size() < kSignatureBytes ||
            png_sig_cmp(reinterpret_cast<png_const_bytep>(file.data()), 0, kSignatureBytes) != 0)
            throw PictureError("The file is not a PNG picture: it does not begin as one does.");
        if (!png_image_begin_read_from_memory(&image_, file.data(), file.size()))
            fail();
    }
    ~PngReader() { png_image_free(&image_); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Throws for a size the program refuses; called before any pixel is decoded.
    PictureSize size() const {
        CheckPictureSize(image_.width, image_.height, "PNG");
        return PictureSize{static_cast<int>(image_.width), static_cast<int>(image_.height)};
    }

    Bitmap read() {
        image_.format = PNG_FORMAT_RGB;
        const PictureSize pictureSize = size();
        Bitmap bitmap(pictureSize.width, pictureSize.height);
        const png_color white{255, 255, 255};
        if (!png_image_finish_read(&image_, &white, bitmap.data().data(),
                                   static_cast<png_int_32>(bitmap.rowBytes()), nullptr))
            fail();
        return bitmap;
    }

private:
    [[noreturn]] void fail() {
        std::string reason = image_.message[0] != '\0' ? image_.message : "unknown error";
        throw PictureError("The PNG file cannot be read: " + reason);
    }

    png_image image_;
};

} // namespace

PictureSize ProbePng(const Bytes& file) {
    return PngReader(file).size();
}

Bitmap DecodePng(const Bytes& file) {
    return PngReader(file).read();
}

} // namespace tavisto
