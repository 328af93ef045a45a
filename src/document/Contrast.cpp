#include "document/Contrast.h"

#include <cmath>
#include <cstdio>

namespace pictor {

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

struct TRgb {
    double R, G, B;
};

TRgb Channels(TColor c) { return {GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0}; }

// Source-over in sRGB, as a browser paints.
TRgb Over(TRgb top, int alpha, TRgb under)
{
    const double a = alpha / 255.0;
    return {top.R * a + under.R * (1 - a), top.G * a + under.G * (1 - a), top.B * a + under.B * (1 - a)};
}

} // namespace

double RelativeLuminance(double r, double g, double b)
{
    return 0.2126 * Linear(r) + 0.7152 * Linear(g) + 0.0722 * Linear(b);
}

double ContrastRatio(TColor foreground, int foregroundAlpha, TColor background, int backgroundAlpha)
{
    return ContrastRatioOver(foreground, foregroundAlpha, background, backgroundAlpha, RGB(255, 255, 255));
}

double ContrastRatioOver(TColor foreground, int foregroundAlpha, TColor background, int backgroundAlpha, TColor canvas)
{
    const TRgb back = Over(Channels(background), backgroundAlpha, Channels(canvas));
    const TRgb fore = Over(Channels(foreground), foregroundAlpha, back);
    const double l1 = RelativeLuminance(fore.R, fore.G, fore.B);
    const double l2 = RelativeLuminance(back.R, back.G, back.B);
    return l1 > l2 ? (l1 + 0.05) / (l2 + 0.05) : (l2 + 0.05) / (l1 + 0.05);
}

std::string ContrastRatioText(double ratio)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", std::floor(ratio * 100) / 100);
    return text;
}

} // namespace pictor
