#include "colordialog/ColorSelectModel.h"

#include "adjust/ColorModels.h"

namespace pictor {

namespace {

double HueArgument(double h) { return h == 360 ? 0 : h; }

TIntRGB Snapped(TIntRGB c) { return {SnapWebSafe(c.R), SnapWebSafe(c.G), SnapWebSafe(c.B)}; }

// Pixel(x, y) gives the colour of column x, row y; rows are written straight into the buffer.
template <class Pixel>
void FillBox(std::uint8_t* pixels, bool snap, Pixel pixel)
{
    for (int y = 0; y < BoxSize; ++y) {
        std::uint8_t* row = pixels + y * BoxSize * 3;
        for (int x = 0; x < BoxSize; ++x, row += 3) {
            TIntRGB c = pixel(x, y);
            if (snap) c = Snapped(c);
            row[0] = std::uint8_t(c.B);
            row[1] = std::uint8_t(c.G);
            row[2] = std::uint8_t(c.R);
        }
    }
}

} // namespace

void TColorSelectModel::RenderBox()
{
    std::uint8_t* pixels = Box_.data();
    switch (Mode_) {
    case cmH: {
        const double h = HueArgument(H_);
        FillBox(pixels, WebSafe_, [&](int x, int y) { return HSVToRGB(h, x, 255 - y); });
        break;
    }
    case cmS:
        FillBox(pixels, WebSafe_, [&](int x, int y) { return HSVToRGB(x * PositionToHue, S_, 255 - y); });
        break;
    case cmV:
        FillBox(pixels, WebSafe_, [&](int x, int y) { return HSVToRGB(x * PositionToHue, 255 - y, V_); });
        break;
    case cmR: FillBox(pixels, WebSafe_, [&](int x, int y) { return TIntRGB{R_, 255 - y, x}; }); break;
    case cmG: FillBox(pixels, WebSafe_, [&](int x, int y) { return TIntRGB{x, G_, 255 - y}; }); break;
    case cmB: FillBox(pixels, WebSafe_, [&](int x, int y) { return TIntRGB{255 - y, x, B_}; }); break;
    }
}

void TColorSelectModel::RenderBand()
{
    const double h = HueArgument(H_);
    // With the option on, the S and V bands follow the box position and the unsnapped colour;
    // the RGB bands always take the current (snapped) colour.
    const double hx = HueArgument(X_ * PositionToHue);
    const THSV unsnapped = RGBToHSV(GetRValue(UnsnappedColor_), GetGValue(UnsnappedColor_), GetBValue(UnsnappedColor_));
    const int r = GetRValue(CurrentColor_), g = GetGValue(CurrentColor_), b = GetBValue(CurrentColor_);
    for (int y = 0; y < BoxSize; ++y) {
        const int w = 255 - y;
        TIntRGB c{};
        switch (Mode_) {
        case cmH: c = HSVToRGB(w * PositionToHue, 255, 255); break;
        case cmS: c = WebSafe_ ? HSVToRGB(hx, w, unsnapped.V) : HSVToRGB(h, w, V_); break;
        case cmV: c = WebSafe_ ? HSVToRGB(hx, unsnapped.S, w) : HSVToRGB(h, S_, w); break;
        case cmR: c = {w, g, b}; break;
        case cmG: c = {r, w, b}; break;
        case cmB: c = {r, g, w}; break;
        }
        if (WebSafe_) c = Snapped(c);
        BandRows_[y] = RGB(c.R, c.G, c.B);
    }
}

} // namespace pictor
