#include "document/ColorPairs.h"

#include "document/Contrast.h"
#include "document/DocumentText.h"

#include <algorithm>

namespace pictor {

namespace {

using TIt = std::vector<TPlacedColor>::const_iterator;

// A "background" is a background colour only when its declaration holds that one colour.
bool IsBackground(TIt it, TIt begin, TIt end)
{
    if (it->Place.Role == TColorRole::Background) return true;
    if (it->Place.Role != TColorRole::Shorthand) return false;
    const auto sameDeclaration = [&](const TPlacedColor& p) { return p.Place.Declaration == it->Place.Declaration; };
    return std::count_if(begin, end, sameDeclaration) == 1;
}

} // namespace

std::vector<TPairedColors> PairPlacedColors(std::vector<TPlacedColor> placed)
{
    // A block's declarations may stand on either side of a nested block.
    std::stable_sort(placed.begin(), placed.end(),
                     [](const TPlacedColor& a, const TPlacedColor& b) { return a.Place.Group < b.Place.Group; });

    std::vector<TPairedColors> pairs;
    for (TIt begin = placed.begin(); begin != placed.end();) {
        const TIt end = std::find_if(begin, placed.cend(),
                                     [&](const TPlacedColor& p) { return p.Place.Group != begin->Place.Group; });
        if (begin->Attribute) {
            // A tag: the first of a repeated attribute is the one a browser takes.
            const TIt background =
                std::find_if(begin, end, [](const TPlacedColor& p) { return p.Place.Role == TColorRole::Background; });
            if (background != end)
                for (TIt it = begin; it != end; ++it)
                    if (it->Place.Role == TColorRole::Foreground) pairs.push_back({it->Index, background->Index});
        } else {
            TIt foreground = end, background = end;
            for (TIt it = begin; it != end; ++it) {
                if (it->Place.Role == TColorRole::Foreground) foreground = it;
                else if (IsBackground(it, begin, end)) background = it;
            }
            if (foreground != end && background != end) pairs.push_back({foreground->Index, background->Index});
        }
        begin = end;
    }
    return pairs;
}

std::vector<TColorPair> FindColorPairs(const TElements& file)
{
    return RatePairs(file, file.Pairs);
}

std::vector<TColorPair> RatePairs(const TElements& file, const std::vector<TPairedColors>& found)
{
    std::vector<TColorPair> pairs;
    for (const TPairedColors& pair : found) {
        const TColorRecord& f = file.Colors.at(pair.Foreground);
        const TColorRecord& b = file.Colors.at(pair.Background);
        if (!f.Tickable() || !b.Tickable()) continue;
        const int fa = std::min<int>(AlphaToByte(f.AlphaForm, f.Alpha), pair.ForegroundAlpha);
        const int ba = std::min<int>(AlphaToByte(b.AlphaForm, b.Alpha), pair.BackgroundAlpha);
        pairs.push_back({pair.Foreground, pair.Background, ContrastRatio(f.OrgColor, fa, b.OrgColor, ba),
                         ContrastRatio(f.Color, fa, b.Color, ba), fa, ba, pair.SharedBackground});
    }
    return pairs;
}

} // namespace pictor
