#include "adjust/DarkContrast.h"

#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"

#include <algorithm>
#include <cmath>

namespace pictor {

namespace {

constexpr double LevelRatios[] = {1, 3, 4.5, 7};
constexpr double LightnessStep = 0.005;

double RatioNow(const TColorRecord& f, const TColorRecord& b)
{
    return ContrastRatio(f.Color, AlphaToByte(f.AlphaForm, f.Alpha), b.Color, AlphaToByte(b.AlphaForm, b.Alpha));
}

// Moves moved's lightness away from other's, step by step, until the pair reaches ratio; the colour is
// written in its own notation. False when even the end of the scale does not reach it (moved is then
// left at the end).
bool Nudge(TColorRecord& moved, const TColorRecord& other, bool movedIsText, double ratio, bool lowerCase)
{
    const TColor start = moved.Color;
    const double from = OklchLightness(start);
    const double direction = from >= OklchLightness(other.Color) ? 1 : -1;
    for (int k = 1;; ++k) {
        const double lightness = std::clamp(from + direction * k * LightnessStep, 0.0, 1.0);
        AdjustColorValue(TAdjustment::NewColorOf(WithLightness(start, lightness)), moved, lowerCase);
        const double now = movedIsText ? RatioNow(moved, other) : RatioNow(other, moved);
        if (now >= ratio) return true;
        if (lightness == 0.0 || lightness == 1.0) return false;
    }
}

} // namespace

int ContrastLevel(double ratio)
{
    int level = 0;
    while (level < 3 && ratio >= LevelRatios[level + 1]) ++level;
    return level;
}

double LevelRatio(int level) { return LevelRatios[level]; }

std::vector<TNudgedPair> ApplyDarkColors(IFileSet& files, const TAdjustment& dark, bool lowerCase)
{
    ApplyToTickedColors(files, dark, lowerCase);
    std::vector<TNudgedPair> nudged;
    for (int i = 0; i < files.FileCount(); ++i) {
        TElements& file = files.Elements(i);
        for (const TColorPair& pair : FindColorPairs(file)) {
            TColorRecord& f = file.Colors[pair.Foreground];
            TColorRecord& b = file.Colors[pair.Background];
            // An earlier pair may have moved one of them.
            const double mirrored = RatioNow(f, b);
            const int level = ContrastLevel(pair.Before);
            if (ContrastLevel(mirrored) >= level || (!f.Checked && !b.Checked)) continue;
            const double ratio = LevelRatio(level);
            // The text moves first; its background only when the text cannot reach the level alone.
            bool held = f.Checked && Nudge(f, b, true, ratio, lowerCase);
            if (!held && b.Checked) held = Nudge(b, f, false, ratio, lowerCase);
            nudged.push_back({i, pair.Foreground, pair.Background, pair.Before, mirrored, RatioNow(f, b), held, f.Color, b.Color});
        }
    }
    return nudged;
}

} // namespace pictor
