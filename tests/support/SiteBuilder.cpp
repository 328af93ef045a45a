#include "support/SiteBuilder.h"

#include "document/PictureIO.h"

namespace pictor::test {

std::string PictureBytes(const std::string& name, int width, int height, int r, int g, int b)
{
    TBitmapEx bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = std::uint8_t(b);
            row[3 * x + 1] = std::uint8_t(g);
            row[3 * x + 2] = std::uint8_t(r);
        }
    }
    switch (PictureFormatOf(name)) {
    case TPictureFormat::Jpeg: return EncodeJpeg(bitmap, 95, true, name);
    case TPictureFormat::Png: return EncodePng(bitmap, name);
    case TPictureFormat::Gif: return EncodeGif(bitmap, name);
    default: return EncodeBmp(bitmap);
    }
}

} // namespace pictor::test
