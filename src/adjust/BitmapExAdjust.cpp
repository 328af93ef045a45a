#include "picture/BitmapEx.h"

#include "adjust/ColorModels.h"
#include "adjust/PerColorPixels.h"
#include "adjust/PixelTables.h"

#include <utility>

namespace pictor {

namespace {

// Frames without pixels are skipped before MutableFrame, so that they are not detached for nothing.
template <class Adjust>
void ForEachFrame(TBitmapEx& bitmap, Adjust&& adjust)
{
    for (int i = 0; i < bitmap.FrameCount(); ++i) {
        const TFrame& frame = std::as_const(bitmap).Frame(i);
        if (frame.Width > 0 && frame.Height > 0) adjust(bitmap.MutableFrame(i));
    }
}

void ApplyToFrames(TBitmapEx& bitmap, const TChannelTables& tables, TWorkPool* pool)
{
    ForEachFrame(bitmap, [&](TFrame& frame) { ApplyChannelTables(frame, tables, pool); });
}

} // namespace

void TBitmapEx::Invert(TWorkPool* pool)
{
    ApplyToFrames(*this, ChannelTablesOf([](int r, int g, int b) { return InvertRGB(r, g, b); }), pool);
}

void TBitmapEx::ColorBalance(int red, int green, int blue, TWorkPool* pool)
{
    ApplyToFrames(*this, ChannelTablesOf([=](int r, int g, int b) { return BalanceRGB(r, g, b, red, green, blue); }),
                  pool);
}

void TBitmapEx::BrightContrast(int brightness, int contrast, TWorkPool* pool)
{
    ApplyToFrames(*this, ChannelTablesOf([=](int r, int g, int b) {
        return BrightContrastRGB(r, g, b, brightness, contrast);
    }), pool);
}

void TBitmapEx::HueSat(int hue, int saturation, int lightness, TWorkPool* pool)
{
    TPerColorPixels pixels([=](std::uint32_t rgb) {
        const TIntRGB c = HueSatRGB(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF), hue, saturation, lightness);
        return std::uint32_t(c.R) << 16 | std::uint32_t(c.G) << 8 | std::uint32_t(c.B);
    });
    pixels.ApplyTo(*this, pool);
}

} // namespace pictor
