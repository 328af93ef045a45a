#pragma once
#include "picture/BitmapEx.h"

#include <QImage>

namespace pictor {

// A width x height 24-bit bitmap of `image` drawn over white at its top-left; white where it falls short.
TBitmapEx BitmapFromImage(const QImage& image, int width, int height);
QImage ImageFromBitmap(const TBitmapEx& bitmap);

} // namespace pictor
