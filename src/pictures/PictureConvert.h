#pragma once

#include "link/Bytes.h"
#include "pictures/Bitmap.h"
#include "pictures/PictureGeometry.h"

#include <optional>
#include <string>

namespace tavisto {

// Opening a picture for a target size, cropping it under the selection frame and saving
// the result: the steps of the image conversion dialog without its widgets, shared by
// the dialog, the command line and the benchmark.

enum class PictureFormat { Png, Jpeg, Bmp };
enum class SaveFormat { Rgb565, Bmp, Jpeg };

// The decoder for a file name, by its extension compared exactly: ".png"/".PNG",
// ".jpg"/".JPG", ".bmp"/".BMP". Anything else (".Png", ".jpeg", none) has none.
std::optional<PictureFormat> OpenFormatForFileName(const std::string& fileName);

// The writer for a file name, by its extension compared exactly: ".bin"/".BIN" raw
// RGB565, ".bmp"/".BMP" 24-bit BMP, ".jpg"/".JPG" JPEG of quality 90.
std::optional<SaveFormat> SaveFormatForFileName(const std::string& fileName);

PictureSize ProbePicture(const Bytes& file, PictureFormat format);
Bitmap DecodePicture(const Bytes& file, PictureFormat format);

// A picture opened for a target size, as the view shows it.
struct OpenedPicture {
    // With a stretched view: the picture already scaled to the view's size. Otherwise
    // the picture itself, which fits the target and is shown centred.
    Bitmap bitmap;
    PictureSize original; // the size stored in the file
    PictureView view;
};

// Decodes a picture and scales it for the view (ViewForPicture). Large JPEG files are
// decoded at a reduced size first when the view is much smaller, which gives the same
// view far faster. Throws PictureError for a file that cannot be decoded.
OpenedPicture OpenPictureForTarget(const Bytes& file, PictureFormat format, PictureSize target);

// Where the view and the frame stand after opening: both centred in the panel.
struct SelectionLayout {
    PictureRect view;
    PictureRect frame;
};
SelectionLayout CentredLayout(PictureSize panel, PictureSize view, PictureSize target);

// The result bitmap of the frame's size: the picture drawn stretched into the view's
// rectangle relative to the frame (ResultRect). Pixels the picture does not cover
// stay white.
Bitmap BuildResult(const OpenedPicture& picture, PictureRect view, PictureRect frame);

// What "OK" returns right after opening, with the frame where opening centres it in
// the dialog's preview panel.
Bitmap ConvertCentred(const Bytes& file, PictureFormat format, PictureSize target);

// The same for the picture file `fileName`, read as FileToBytes does. Throws FileError,
// or PictureError naming the file when its contents cannot be decoded.
Bitmap ConvertFileCentred(const std::string& fileName, PictureFormat format, PictureSize target);

// Writes the result by the extension of `fileName` (SaveFormatForFileName); returns false,
// writing nothing, for any other extension. Throws FileError or PictureError.
bool SaveResult(const Bitmap& result, const std::string& fileName);

} // namespace tavisto
