#pragma once

#include "pictures/Bitmap.h"

#include <QImage>

namespace tavisto {

// Conversions between the core's 24-bit bitmap and Qt's image, for the windows.
QImage BitmapToQImage(const Bitmap& bitmap);
Bitmap QImageToBitmap(const QImage& image);

} // namespace tavisto
