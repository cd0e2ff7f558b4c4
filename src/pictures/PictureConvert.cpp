#include "pictures/PictureConvert.h"

#include "pictures/BmpCodec.h"
#include "pictures/ByteFiles.h"
#include "pictures/JpegCodec.h"
#include "pictures/PictureError.h"
#include "pictures/PngCodec.h"
#include "pictures/Rgb565.h"
#include "pictures/StretchDraw.h"

namespace tavisto {

std::optional<PictureFormat> OpenFormatForFileName(const std::string& fileName) {
    const std::string extension = FileExtension(fileName);
    if (extension == ".png" || extension == ".PNG")
        return PictureFormat::Png;
    if (extension == ".jpg" || extension == ".JPG")
        return PictureFormat::Jpeg;
    if (extension == ".bmp" || extension == ".BMP")
        return PictureFormat::Bmp;
    return std::nullopt;
}

std::optional<SaveFormat> SaveFormatForFileName(const std::string& fileName) {
    const std::string extension = FileExtension(fileName);
    if (extension == ".bin" || extension == ".BIN")
        return SaveFormat::Rgb565;
    if (extension == ".bmp" || extension == ".BMP")
        return SaveFormat::Bmp;
    if (extension == ".jpg" || extension == ".JPG")
        return SaveFormat::Jpeg;
    return std::nullopt;
}

PictureSize ProbePicture(const Bytes& file, PictureFormat format) {
    switch (format) {
    case PictureFormat::Png:
        return ProbePng(file);
    case PictureFormat::Jpeg:
        return ProbeJpeg(file);
    case PictureFormat::Bmp:
        break;
    }
    return ProbeBmp(file);
}

Bitmap DecodePicture(const Bytes& file, PictureFormat format) {
    switch (format) {
    case PictureFormat::Png:
        return DecodePng(file);
    case PictureFormat::Jpeg:
        return DecodeJpeg(file);
    case PictureFormat::Bmp:
        break;
    }
    return DecodeBmp(file);
}

OpenedPicture OpenPictureForTarget(const Bytes& file, PictureFormat format, PictureSize target) {
    OpenedPicture opened;
    opened.original = ProbePicture(file, format);
    opened.view = ViewForPicture(opened.original, target);
    if (!opened.view.stretched) {
        opened.bitmap = DecodePicture(file, format);
        return opened;
    }
    Bitmap decoded =
        format == PictureFormat::Jpeg
            ? DecodeJpeg(file, ReducedDecodeDenominator(opened.original, opened.view.size))
            : DecodePicture(file, format);
    opened.bitmap = Resized(decoded, opened.view.size);
    return opened;
}

SelectionLayout CentredLayout(PictureSize panel, PictureSize view, PictureSize target) {
    return SelectionLayout{CentredRect(panel, view), CentredRect(panel, target)};
}

Bitmap BuildResult(const OpenedPicture& picture, PictureRect view, PictureRect frame) {
    Bitmap result(frame.width, frame.height, kWhite);
    StretchDraw(picture.bitmap, result, ResultRect(view, frame));
    return result;
}

Bitmap ConvertCentred(const Bytes& file, PictureFormat format, PictureSize target) {
    const OpenedPicture opened = OpenPictureForTarget(file, format, target);
    const SelectionLayout layout = CentredLayout(kPreviewPanelSize, opened.view.size, target);
    return BuildResult(opened, layout.view, layout.frame);
}

Bitmap ConvertFileCentred(const std::string& fileName, PictureFormat format, PictureSize target) {
    const Bytes file = FileToBytes(fileName);
    try {
        return ConvertCentred(file, format, target);
    } catch (const PictureError& e) {
        throw PictureError("The picture \"" + fileName + "\" cannot be opened. " + e.what());
    }
}

bool SaveResult(const Bitmap& result, const std::string& fileName) {
    const std::optional<SaveFormat> format = SaveFormatForFileName(fileName);
    if (!format)
        return false;
    switch (*format) {
    case SaveFormat::Rgb565:
        SaveBitmapRgb565(result, result.width(), result.height(), fileName);
        break;
    case SaveFormat::Bmp:
        SaveBytesToFile(fileName, EncodeBmp(result));
        break;
    case SaveFormat::Jpeg:
        SaveBytesToFile(fileName, BitmapToJpeg(result, false));
        break;
    }
    return true;
}

} // namespace tavisto
