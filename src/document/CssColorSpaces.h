#pragma once
#include "base/Color.h"

#include <array>

namespace pictor {

// The spaces of oklch(), oklab(), lab(), lch(), hwb() and color().
enum class TColorSpace : std::uint8_t {
    Srgb, SrgbLinear, DisplayP3, Rec2020, A98Rgb, ProPhotoRgb, XyzD50, XyzD65, Lab, Lch, Oklab, Oklch, Hwb,
};

using TTriple = std::array<double, 3>;

// A colour's coordinates in space (hues in degrees, hwb's whiteness and blackness 0-100) as extended
// sRGB: gamma-encoded red, green and blue, 0-1 in gamut and beyond it outside.
TTriple SpaceToSrgb(TColorSpace space, const TTriple& coordinates);
// And back. A hue that a colour of no chroma does not have is taken from hueHint.
TTriple SrgbToSpace(TColorSpace space, const TTriple& srgb, double hueHint = 0);
// Into the sRGB gamut as CSS maps a colour to an RGB destination: oklch chroma reduced, lightness and
// hue kept, until clipping what is left moves the colour less than jnd (deltaEOK). A jnd of 0 reduces
// chroma until the colour is in the gamut: the hue stays too.
TTriple MapIntoSrgbGamut(const TTriple& srgb, double jnd = 0.02);
// The colour as shown on an sRGB screen: mapped into the gamut (reducing oklch chroma), 8 bits a channel.
TColor SrgbToDisplay(const TTriple& srgb);
// hsl() in extended sRGB: hue in degrees, saturation and lightness 0-1.
TTriple HslToSrgb(double hue, double saturation, double lightness);

} // namespace pictor
