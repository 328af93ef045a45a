#pragma once
#include "base/Color.h"
#include "document/CssColorSpaces.h"

namespace pictor {

// Where a dark theme puts white and black, as oklch lightness in percent: white becomes a near-black
// background, black a near-white text.
struct TDarkEnds {
    int Dark = 18;
    int Light = 93;
};

// Oklch lightness mirrored (1 - L) and laid between the two ends.
double DarkLightness(double lightness, const TDarkEnds& ends);
// The colour (extended sRGB) with its lightness so mirrored, hue and chroma kept: extended sRGB again,
// for a text that can hold a colour beyond sRGB.
TTriple DarkSrgb(const TTriple& srgb, const TDarkEnds& ends);
// The same for an 8-bit colour, mapped into sRGB by chroma alone, so that the hue stays.
TColor DarkColor(TColor color, const TDarkEnds& ends);
// The colour with its oklch lightness set to lightness, mapped into sRGB: how contrast is mended.
TColor WithLightness(TColor color, double lightness);
double OklchLightness(TColor color);

} // namespace pictor
