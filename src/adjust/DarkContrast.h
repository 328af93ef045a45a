#pragma once
#include "adjust/Adjustment.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace pictor {

class IFileSet;

// The background of a colour that no declared pair holds: the page's own, white in the light page.
constexpr std::size_t PageBackgroundRecord = std::size_t(-1);
// Grounds the browser paints itself that a sheet may set the page's text on (normalize.css's `button,
// input, select { color: inherit }`), as the light page and the dark scheme show them: Chromium's, the
// lightest of the browsers'.
struct TBrowserGround {
    std::size_t Record; // as TNudgedPair::Background
    TColor Light, Dark;
    std::string_view Where;
    std::string_view Elements[2]; // that paint it
};
constexpr TBrowserGround BrowserGrounds[] = {
    {std::size_t(-2), RGB(0xFF, 0xFF, 0xFF), RGB(0x3B, 0x3B, 0x3B), "in a form field", {"input", "textarea"}},
    {std::size_t(-3), RGB(0xEF, 0xEF, 0xEF), RGB(0x6B, 0x6B, 0x6B), "on a button", {"button", "select"}},
};

// A text/background pair whose WCAG level the mirror alone lowered, and what mended it.
struct TNudgedPair {
    int File = 0;
    std::size_t Foreground = 0;  // colour record indices
    std::size_t Background = 0;  // or PageBackgroundRecord, a BrowserGrounds record
    double Before = 0;    // the light page's ratio
    double Mirrored = 0;  // the mirror's
    double After = 0;     // once nudged
    bool Held = true;     // false: no lightness within reach gave the level back
    TColor ForegroundColor = 0, BackgroundColor = 0;  // as nudged
};

// The WCAG levels a ratio reaches: 0 none, 1 large text (3), 2 AA (4.5), 3 AAA (7).
int ContrastLevel(double ratio);
// The ratio a level needs.
double LevelRatio(int level);

// Every ticked colour made dark, then every pair the contrast report finds kept at its level: the
// ticked side (the text before its background) moved in oklch lightness away from the other, the least
// that restores the level. Any other ticked colour that is no background may be text (a custom
// property's, most often): it is taken to stand on the page's background (white, made dark) and kept at
// its level there. Returns the pairs so nudged.
std::vector<TNudgedPair> ApplyDarkColors(IFileSet& files, const TAdjustment& dark, bool lowerCase);

} // namespace pictor
