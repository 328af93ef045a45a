#include "adjust/DarkContrast.h"

#include "document/ChannelLists.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "document/DocumentText.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"
#include "document/SelectorPairs.h"

#include <algorithm>
#include <cmath>

namespace pictor {

namespace {

constexpr double LevelRatios[] = {1, 3, 4.5, 7};
constexpr double LightnessStep = 0.005;
// A nudge aims this far above the level: the background a text is painted on is often a shade away
// from the one it is declared with.
constexpr double NudgeMargin = 1.04;

// In the dark theme: a background with alpha is seen over the dark page, canvas.
double RatioNow(const TColorRecord& f, const TColorRecord& b, TColor canvas)
{
    return ContrastRatioOver(f.Color, AlphaToByte(f.AlphaForm, f.Alpha), b.Color, AlphaToByte(b.AlphaForm, b.Alpha), canvas);
}

bool IsHslLightness(const TColorRecord& record)
{
    const TChannelRole role = record.Channels;
    return role.Reading == TChannelReading::Hsl && role.Channel == 2 && !role.Delta;
}

// Moves moved's lightness away from other's, the least (to LightnessStep) that gives the pair ratio,
// or to the end of the scale; the colour is written in its own notation. An hsl() lightness variable
// moves as hsl() lightness, its hue and saturation kept, so that its colour is the one painted. Returns
// the ratio reached.
double Nudge(TColorRecord& moved, const TColorRecord& other, bool movedIsText, double ratio, TColor canvas, bool lowerCase)
{
    const TColor start = moved.Color;
    // A text moves away from its background as seen, over the page when it has alpha.
    TColor shown = other.Color;
    if (movedIsText) {
        const double a = AlphaToByte(other.AlphaForm, other.Alpha) / 255.0;
        const auto over = [&](int top, int under) { return int(std::lround(top * a + under * (1 - a))); };
        shown = RGB(over(GetRValue(shown), GetRValue(canvas)), over(GetGValue(shown), GetGValue(canvas)),
                    over(GetBValue(shown), GetBValue(canvas)));
    }
    const bool away = OklchLightness(start) >= OklchLightness(shown);
    const std::string startText = moved.Text;
    const auto hsl = HslOf(start);
    const auto variable = IsHslLightness(moved) ? ChannelNumber(startText) : std::nullopt;
    const double scale = variable ? 100 : 1;
    const double from = variable ? *variable : OklchLightness(start), end = away ? scale : 0;
    const auto tryLightness = [&](double lightness) {
        if (variable) {
            moved.Text = WithChannelNumber(startText, lightness);
            moved.Color = SrgbToDisplay(HslToSrgb(hsl[0], hsl[1] / 100, lightness / 100));
        } else {
            AdjustColorValue(TAdjustment::NewColorOf(WithLightness(start, lightness)), moved, lowerCase);
        }
        return movedIsText ? RatioNow(moved, other, canvas) : RatioNow(other, moved, canvas);
    };
    const double atEnd = tryLightness(end);
    if (atEnd < ratio) return atEnd;
    // The ratio grows as the colour moves away: the least move that reaches it, by halves.
    double short_ = from, enough = end;
    while (std::fabs(enough - short_) > LightnessStep * scale) {
        const double middle = (short_ + enough) / 2;
        (tryLightness(middle) >= ratio ? enough : short_) = middle;
    }
    return tryLightness(enough);
}

// A ticked colour whose text can move in lightness alone: not a hue, a saturation or a number added to a
// channel, whose move would turn every colour built from it.
bool Movable(const TColorRecord& record)
{
    const TChannelRole role = record.Channels;
    return record.Checked && (role.Channel < 0 || IsHslLightness(record));
}

// Where the walk finds background colours ("background-color", "background", BGCOLOR).
class TBackgrounds : public TScanEvents {
public:
    std::vector<std::size_t> Positions;
    void ColorFound(std::size_t pos, std::size_t, TColorForm, int, const TColorPlace& place) override
    {
        if (place.Role == TColorRole::Background || place.Role == TColorRole::Shorthand) Positions.push_back(pos);
    }
    bool WantsReferences() const override { return false; }
};

// The page's own background: white, and in the dark theme what white becomes.
TColorRecord PageBackground(TColor color)
{
    TColorRecord background;
    background.Color = background.OrgColor = color;
    return background;
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
    const TColor canvas = DarkColor(RGB(255, 255, 255), dark.DarkEnds());
    std::vector<TNudgedPair> nudged;
    for (int i = 0; i < files.FileCount(); ++i) {
        TElements& file = files.Elements(i);
        // Declared together, then by different rules for the same element or one it stands in.
        std::vector<TColorPair> pairs = FindColorPairs(file);
        const TSelectorPairs bySelectors = PairColorsBySelectors(file, files.IsPage(i));
        const std::vector<TColorPair> rated = RatePairs(file, bySelectors.Pairs);
        pairs.insert(pairs.end(), rated.begin(), rated.end());
        // A background under the page's text moves itself: the page's text stands on much else.
        const std::size_t pageTextFrom = pairs.size();
        const std::vector<TColorPair> underText = RatePairs(file, bySelectors.UnderPageText);
        pairs.insert(pairs.end(), underText.begin(), underText.end());
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            const TColorPair& pair = pairs[p];
            const bool textMoves = p < pageTextFrom;
            TColorRecord& f = file.Colors[pair.Foreground];
            TColorRecord& b = file.Colors[pair.Background];
            // An earlier pair may have moved one of them.
            const double mirrored = RatioNow(f, b, canvas);
            const int level = ContrastLevel(pair.Before);
            if (ContrastLevel(mirrored) >= level || (!Movable(f) && !Movable(b))) continue;
            const double target = LevelRatio(level) * NudgeMargin;
            // The text moves first; its background only when the text cannot reach the level alone.
            if (!textMoves && !Movable(b)) continue;
            double now = textMoves && Movable(f) ? Nudge(f, b, true, target, canvas, lowerCase) : mirrored;
            if (now < target && Movable(b)) now = Nudge(b, f, false, target, canvas, lowerCase);
            nudged.push_back({i, pair.Foreground, pair.Background, pair.Before, mirrored, now, now >= LevelRatio(level),
                              f.Color, b.Color});
        }
        // Any other colour that is no background may be text (through a custom property, most often),
        // and text stands, most likely, on the page's background.
        std::vector<bool> paired(file.Colors.size());
        // A text paired by the selectors may stand on the page too (a hollow button's).
        for (const TPairedColors& pair : file.Pairs) paired[pair.Foreground] = paired[pair.Background] = true;
        TBackgrounds backgrounds;
        WalkFile(file, files.IsPage(i), backgrounds);
        std::sort(backgrounds.Positions.begin(), backgrounds.Positions.end());
        const TColorRecord background = PageBackground(canvas);
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            TColorRecord& f = file.Colors[k];
            if (paired[k] || !Movable(f) || f.Embed.Kind != TEmbedding::None ||
                std::binary_search(backgrounds.Positions.begin(), backgrounds.Positions.end(), f.SourcePos))
                continue;
            const int alpha = AlphaToByte(f.AlphaForm, f.Alpha);
            const double before = ContrastRatio(f.OrgColor, alpha, RGB(255, 255, 255), 255);
            const double mirrored = RatioNow(f, background, canvas);
            const int level = ContrastLevel(before);
            if (ContrastLevel(mirrored) >= level) continue;
            const double now = Nudge(f, background, true, LevelRatio(level) * NudgeMargin, canvas, lowerCase);
            nudged.push_back({i, k, PageBackgroundRecord, before, mirrored, now, now >= LevelRatio(level), f.Color,
                              background.Color});
        }
    }
    return nudged;
}

} // namespace pictor
