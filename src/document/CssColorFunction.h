#pragma once
#include "document/ColorLiterals.h"

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
std::optional<TCssColor> ParseCssColorFunction(std::string_view text);

} // namespace pictor
