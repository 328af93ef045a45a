#pragma once
#include "document/ColorLiterals.h"
#include "document/CssColorSpaces.h"

#include <optional>
#include <string_view>

namespace pictor {

struct TCssColor {
    TColor Color = 0;
    std::string_view Alpha;  // as written; empty when the function gives none
    double Opacity = 1;      // the alpha, 0-1
};

// rgb(), rgba(), hsl() or hsla() in any form CSS takes (commas or spaces, "/" before an alpha, numbers
// with fractions, percentages, none, hue units); text runs from the name to the ")". Components are
// rounded to the nearest integer and clamped to 0-255. Nothing when CSS would not take the text.
// An alpha written with var(), calc() or env() is kept as written and taken as opaque; a channel written
// with one makes the text no colour to this reading.
std::optional<TCssColor> ParseCssColorFunction(std::string_view text);

// lab(), lch(), oklab(), oklch(), hwb() and color() with a space it names.
struct TCssSpaceColor {
    TColorSpace Space = TColorSpace::Srgb;
    TTriple Coordinates{};   // percentages resolved, hues in degrees, none as 0
    std::string_view Alpha;  // as written; empty when the function gives none
    double Opacity = 1;
};
bool IsCssSpaceFunction(std::string_view name);
// Nothing when CSS would not take the text or a channel is not a literal number.
std::optional<TCssSpaceColor> ParseCssSpaceColor(std::string_view text);
// text, such a function, with its colour replaced by srgb (extended: beyond 0-1 outside the sRGB
// gamut): the same function and space, numbers precise enough that a second change comes back, the
// alpha as written.
std::string WriteCssSpaceColor(std::string_view text, const TTriple& srgb);

} // namespace pictor
