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

TTriple DarkSrgb(const TTriple& srgb, const TDarkEnds& ends)
{
    TTriple oklch = SrgbToSpace(TColorSpace::Oklch, srgb);
    oklch[0] = DarkLightness(oklch[0], ends);
    return SpaceToSrgb(TColorSpace::Oklch, oklch);
}

TColor DarkColor(TColor color, const TDarkEnds& ends)
{
    return SrgbToDisplay(MapIntoSrgbGamut(DarkSrgb(Channels(color), ends), 0));
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

} // namespace pictor
