#pragma once
#include "document/ColorLiterals.h"

#include <string>

namespace pictor {

// Below this, text fails the AA level for normal-sized text.
constexpr double MinimumTextContrast = 4.5;

// The relative luminance of an sRGB colour whose channels are 0-1, as WCAG 2.2 defines it.
double RelativeLuminance(double r, double g, double b);

// The WCAG contrast ratio of text on its background, 1 to 21. A background with alpha (0-255) is seen
// over white, text with alpha over that background.
double ContrastRatio(TColor foreground, int foregroundAlpha, TColor background, int backgroundAlpha);
inline double ContrastRatio(TColor foreground, TColor background) { return ContrastRatio(foreground, 255, background, 255); }
// The same with the background seen over canvas: a dark page's own background.
double ContrastRatioOver(TColor foreground, int foregroundAlpha, TColor background, int backgroundAlpha, TColor canvas);

// The ratio rounded down to two decimals, as "4.47": never shown as passing when it does not.
std::string ContrastRatioText(double ratio);

} // namespace pictor
