#include "adjust/DarkColors.h"

#include <algorithm>

namespace pictor {

namespace {

TTriple Channels(TColor c) { return {GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0}; }

} // namespace

double DarkLightness(double lightness, const TDarkEnds& ends)
{
    const double dark = ends.Dark / 100.0, light = ends.Light / 100.0;
    return dark + (light - dark) * (1 - std::clamp(lightness, 0.0, 1.0));
}

namespace {

TTriple MirroredOklch(const TTriple& srgb, const TDarkEnds& ends)
{
    TTriple oklch = SrgbToSpace(TColorSpace::Oklch, srgb);
    oklch[0] = DarkLightness(oklch[0], ends);
    return oklch;
}

} // namespace

TTriple DarkSrgb(const TTriple& srgb, const TDarkEnds& ends)
{
    return WithLightnessSrgb(srgb, MirroredOklch(srgb, ends)[0]);
}

TTriple WithLightnessSrgb(const TTriple& srgb, double lightness)
{
    // The mapping's chroma, with the lightness and hue exactly as set.
    TTriple oklch = SrgbToSpace(TColorSpace::Oklch, srgb);
    oklch[0] = std::clamp(lightness, 0.0, 1.0);
    const TTriple mapped = MapIntoSrgbGamut(SpaceToSrgb(TColorSpace::Oklch, oklch), 0);
    oklch[1] = std::min(oklch[1], SrgbToSpace(TColorSpace::Oklch, mapped, oklch[2])[1]);
    return SpaceToSrgb(TColorSpace::Oklch, oklch);
}

TColor DarkColor(TColor color, const TDarkEnds& ends)
{
    return SrgbToDisplay(MapIntoSrgbGamut(SpaceToSrgb(TColorSpace::Oklch, MirroredOklch(Channels(color), ends)), 0));
}

TColor WithLightness(TColor color, double lightness)
{
    TTriple oklch = SrgbToSpace(TColorSpace::Oklch, Channels(color));
    oklch[0] = std::clamp(lightness, 0.0, 1.0);
    return SrgbToDisplay(MapIntoSrgbGamut(SpaceToSrgb(TColorSpace::Oklch, oklch), 0));
}

double OklchLightness(TColor color)
{
    return SrgbToSpace(TColorSpace::Oklch, Channels(color))[0];
}

double DarkHslLightness(double hue, double saturation, double lightness, const TDarkEnds& ends)
{
    const double s = std::clamp(saturation / 100, 0.0, 1.0);
    const auto oklchLightness = [&](double l) { return SrgbToSpace(TColorSpace::Oklch, HslToSrgb(hue, s, l / 100))[0]; };
    const double target = DarkLightness(oklchLightness(std::clamp(lightness, 0.0, 100.0)), ends);
    // Oklch lightness grows with hsl lightness at any hue and saturation: halves, to far below what a
    // written percentage shows.
    double low = 0, high = 100;
    for (int step = 0; step < 40; ++step) {
        const double middle = (low + high) / 2;
        (oklchLightness(middle) < target ? low : high) = middle;
    }
    return (low + high) / 2;
}

} // namespace pictor
