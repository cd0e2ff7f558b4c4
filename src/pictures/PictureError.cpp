#include "pictures/PictureError.h"

#include <string>

namespace tavisto {

void CheckPictureSize(std::int64_t width, std::int64_t height, const std::string& format) {
    if (width <= 0 || height <= 0)
        throw PictureError("The " + format + " picture has no pixels (" + std::to_string(width) +
                           " x " + std::to_string(height) + ").");
    if (width > kMaxPicturePixels || height > kMaxPicturePixels ||
        width * height > kMaxPicturePixels)
        throw PictureError("The " + format + " picture is too large (" + std::to_string(width) +
                           " x " + std::to_string(height) +
                           " pixels); pictures above 100 megapixels are not supported.");
}

void CheckPictureNotEmpty(std::size_t fileBytes, const std::string& format) {
    if (fileBytes == 0)
        throw PictureError("The " + format + " file is empty: it holds no picture.");
}

} // namespace tavisto
