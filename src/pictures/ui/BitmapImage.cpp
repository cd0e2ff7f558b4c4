#include "pictures/ui/BitmapImage.h"

#include <algorithm>

namespace tavisto {

QImage BitmapToQImage(const Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y)
        std::copy_n(bitmap.row(y), bitmap.rowBytes(), image.scanLine(y));
    return image;
}

Bitmap QImageToBitmap(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Bitmap bitmap(rgb.width(), rgb.height());
    for (int y = 0; y < bitmap.height(); ++y)
        std::copy_n(rgb.constScanLine(y), bitmap.rowBytes(), bitmap.row(y));
    return bitmap;
}

} // namespace tavisto
