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
// The colour (extended sRGB) with its lightness so mirrored, hue and chroma kept, then brought into sRGB
// by chroma alone: what a colour of any space becomes.
TTriple DarkSrgb(const TTriple& srgb, const TDarkEnds& ends);
// The colour (extended sRGB) with its oklch lightness set (0-1), its hue kept and its chroma lowered only
// as far as sRGB needs.
TTriple WithLightnessSrgb(const TTriple& srgb, double lightness);
// The same for an 8-bit colour, mapped into sRGB by chroma alone, so that the hue stays.
TColor DarkColor(TColor color, const TDarkEnds& ends);
// The colour with its oklch lightness set to lightness, mapped into sRGB: how contrast is mended.
TColor WithLightness(TColor color, double lightness);
double OklchLightness(TColor color);
// The lightness (percent) that gives hsl(hue, saturation, ·) the mirrored oklch lightness of
// hsl(hue, saturation, lightness): a colour of one variable a channel made dark with its hue and
// saturation variables as they are. Saturation and lightness in percent.
double DarkHslLightness(double hue, double saturation, double lightness, const TDarkEnds& ends);

} // namespace pictor
