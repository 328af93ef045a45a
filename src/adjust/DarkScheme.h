#pragma once
#include "adjust/DarkContrast.h"

#include <string>
#include <vector>

namespace pictor {

class IFileSet;

// A ticked colour the dark scheme cannot reach, and why.
struct TLeftLight {
    int File = 0;
    std::size_t Record = 0;
    std::string Why;
};

struct TDarkScheme {
    std::vector<TNudgedPair> Nudged;  // as ApplyDarkColors gives them
    std::vector<TLeftLight> LeftLight;
    int Declarations = 0;             // repeated with dark colours
};

// The dark theme for readers who ask for one (prefers-color-scheme: dark), the light page left as it
// is: no colour is rewritten; each sheet and style block gets at its end a block
// "@media (prefers-color-scheme: dark)" repeating every declaration that holds a colour, in its rule and
// at-rules, with the ticked colours made dark (contrast kept as ApplyDarkColors keeps it), and a
// `color-scheme: light` as dark. The page gets <meta name="color-scheme" content="light dark"> and, for
// its default text and its colour attributes, rules of no specificity standing before every sheet, as
// the attributes stand below every author rule. Where the browser takes relative colours, colours built of
// one-channel variables are mirrored by the browser instead (see RelativeDark.h). Colours in
// style attributes, SVG pictures and data: URLs stay light and are listed. The additions replace those
// of an earlier call; the rewrite puts them in place.
TDarkScheme FollowReaderScheme(IFileSet& files, const TAdjustment& dark, bool lowerCase);

} // namespace pictor
