#include "adjust/ui/BitmapImage.h"

#include <QPainter>

#include <cstring>

namespace pictor {

TBitmapEx BitmapFromImage(const QImage& image, int width, int height)
{
    TBitmapEx bitmap(width, height);
    if (bitmap.Empty()) return bitmap;
    // Painting over white also flattens any transparency the renderer leaves.
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter(&canvas).drawImage(0, 0, image);
    canvas.convertTo(QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.ScanLine(y), canvas.constScanLine(y), std::size_t(bitmap.Stride()));
    return bitmap;
}

QImage ImageFromBitmap(const TBitmapEx& bitmap)
{
    if (bitmap.Empty()) return {};
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_BGR888);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.ScanLine(y), std::size_t(bitmap.Stride()));
    return image;
}

} // namespace pictor
