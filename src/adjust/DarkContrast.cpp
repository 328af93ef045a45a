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

// A text and its background, each with the alpha it is painted with (its own, or its use's).
struct TSides {
    TColorRecord& Text;
    TColorRecord& Background;
    int TextAlpha, BackgroundAlpha;
};

// In the dark theme: a background with alpha is seen over the dark page, canvas.
double RatioNow(const TSides& pair, TColor canvas)
{
    return ContrastRatioOver(pair.Text.Color, pair.TextAlpha, pair.Background.Color, pair.BackgroundAlpha, canvas);
}

// Moves the text's lightness (or the background's) away from the other's, the least (to LightnessStep)
// that gives the pair ratio, or to the end of the scale; the colour is written in its own notation. An
// hsl() lightness variable moves as hsl() lightness, its hue and saturation kept, so that its colour is
// the one painted. Returns the ratio reached.
double Nudge(const TSides& pair, bool movedIsText, double ratio, TColor canvas, bool lowerCase)
{
    TColorRecord& moved = movedIsText ? pair.Text : pair.Background;
    const TColorRecord& other = movedIsText ? pair.Background : pair.Text;
    const TColor start = moved.Color;
    // A text moves away from its background as seen, over the page when it has alpha.
    TColor shown = other.Color;
    if (movedIsText) {
        const double a = pair.BackgroundAlpha / 255.0;
        const auto over = [&](int top, int under) { return int(std::lround(top * a + under * (1 - a))); };
        shown = RGB(over(GetRValue(shown), GetRValue(canvas)), over(GetGValue(shown), GetGValue(canvas)),
                    over(GetBValue(shown), GetBValue(canvas)));
    }
    const bool away = OklchLightness(start) >= OklchLightness(shown);
    const std::string startText = moved.Text;
    const auto hsl = PaintedHsl(moved, start);
    const auto variable = IsHslLightness(moved) ? ChannelNumber(startText) : std::nullopt;
    const double scale = variable ? 100 : 1;
    const double from = variable ? *variable : OklchLightness(start), end = away ? scale : 0;
    const auto tryLightness = [&](double lightness) {
        if (variable) {
            moved.Text = WithChannelNumber(startText, lightness);
            moved.Color = SrgbToDisplay(HslToSrgb(hsl[0], hsl[1] / 100, lightness / 100));
        } else {
            SetOklchLightness(moved, startText, start, lightness, lowerCase);
        }
        return RatioNow(pair, canvas);
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

// A level a colour was kept at against another: a later move of it for another pair must keep it too.
struct TKept {
    TColorRecord* Other; // the page's background, or a record
    bool IsText;         // the colour keeping it is the pair's text
    int TextAlpha, BackgroundAlpha;
    double Ratio;
};

void KeepLight(TColorRecord& record)
{
    record.Text = record.OrgText;
    record.Color = record.OrgColor;
}

bool IsDarkBand(const TColorRecord& text, const TColorRecord& background)
{
    return OklchLightness(background.OrgColor) < OklchLightness(text.OrgColor);
}

// A light text with alpha on a dark band (UIkit's `.uk-light`: white at 50 % over #222) keeps its level
// in no mirrored pair: dark text with alpha is weaker on a light ground. Such a band and the light texts
// on it keep their colours of the light page, a dark band on the dark page. Returns the pairs so kept,
// each with its mirror's ratio.
std::vector<std::pair<const TColorPair*, double>> KeepDarkBands(TElements& file, const std::vector<TColorPair>& pairs,
                                                                TColor canvas, bool lowerCase)
{
    auto& colors = file.Colors;
    std::vector<bool> band(colors.size());
    for (const TColorPair& pair : pairs) {
        const TColorRecord& text = colors[pair.Foreground];
        const TColorRecord& background = colors[pair.Background];
        const int level = ContrastLevel(pair.Before);
        if (level == 0 || band[pair.Background] || !Movable(background) || !IsDarkBand(text, background)) continue;
        // The most the mirrored pair can reach: each side moved to its end, away from the other.
        TColorRecord t = text, b = background;
        const TSides best{t, b, pair.ForegroundAlpha, pair.BackgroundAlpha};
        if (Movable(text)) Nudge(best, true, HUGE_VAL, canvas, lowerCase);
        band[pair.Background] = Nudge(best, false, HUGE_VAL, canvas, lowerCase) < LevelRatio(level);
    }
    std::vector<std::pair<const TColorPair*, double>> kept;
    for (const TColorPair& pair : pairs) {
        if (!band[pair.Background]) continue;
        TColorRecord& text = colors[pair.Foreground];
        TColorRecord& background = colors[pair.Background];
        kept.emplace_back(&pair, RatioNow({text, background, pair.ForegroundAlpha, pair.BackgroundAlpha}, canvas));
        KeepLight(background);
        if (Movable(text) && IsDarkBand(text, background)) KeepLight(text);
    }
    return kept;
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
        const TSelectorPairs bySelectors = PairColorsBySelectors(file, files.IsPage(i));
        // Any colour that is no background and in no pair declared together may be text (through a
        // custom property, most often), and text stands, most likely, on the page's background. Kept so
        // first: what the pairs below show weighs more.
        std::vector<bool> paired(file.Colors.size());
        // A text paired by the selectors may stand on the page too (a hollow button's).
        for (const TPairedColors& pair : file.Pairs) paired[pair.Foreground] = paired[pair.Background] = true;
        TBackgrounds backgrounds;
        WalkFile(file, files.IsPage(i), backgrounds);
        std::sort(backgrounds.Positions.begin(), backgrounds.Positions.end());
        TColorRecord background = PageBackground(canvas);
        std::vector<TColorRecord> grounds;
        for (const TBrowserGround& ground : BrowserGrounds) grounds.push_back(PageBackground(ground.Dark));
        // Each colour's levels kept so far. A colour shared by several pairs (a grey that is text on the page,
        // on black, and the background of white) moves for a later pair only as far as its earlier ones
        // allow: else the last pair would undo what the others kept.
        std::vector<std::vector<TKept>> kept(file.Colors.size());
        // The sides of each pair reported, to give the colours as they end, a later pair having moved them.
        std::vector<std::pair<std::size_t, TKept>> reported;
        const auto record = [&](const TColorRecord& r) { return std::size_t(&r - file.Colors.data()); };
        const auto keeps = [&](TColorRecord& r) {
            return std::all_of(kept[record(r)].begin(), kept[record(r)].end(), [&](const TKept& k) {
                const TSides sides = k.IsText ? TSides{r, *k.Other, k.TextAlpha, k.BackgroundAlpha}
                                              : TSides{*k.Other, r, k.TextAlpha, k.BackgroundAlpha};
                return RatioNow(sides, canvas) >= k.Ratio;
            });
        };
        const auto move = [&](const TSides& sides, bool text, double target) {
            TColorRecord& moved = text ? sides.Text : sides.Background;
            const std::string was = moved.Text;
            const TColor wasColor = moved.Color;
            const double now = Nudge(sides, text, target, canvas, lowerCase);
            if (keeps(moved)) return now;
            moved.Text = was;
            moved.Color = wasColor;
            return RatioNow(sides, canvas);
        };
        // onRecord: the background is one of the file's colours, not the page's or the browser's.
        const auto remember = [&](const TSides& sides, int level, bool onRecord) {
            if (level == 0 || RatioNow(sides, canvas) < LevelRatio(level)) return;
            kept[record(sides.Text)].push_back(
                {&sides.Background, true, sides.TextAlpha, sides.BackgroundAlpha, LevelRatio(level)});
            if (onRecord)
                kept[record(sides.Background)].push_back(
                    {&sides.Text, false, sides.TextAlpha, sides.BackgroundAlpha, LevelRatio(level)});
        };
        // On the page's background, or one the browser paints: white in the light page, or lightGround.
        const auto keepOn = [&](TColorRecord& ground, std::size_t groundRecord, TColor lightGround, std::size_t k,
                                int alpha) {
            TColorRecord& f = file.Colors[k];
            const TSides sides{f, ground, alpha, 255};
            const double before = ContrastRatio(f.OrgColor, alpha, lightGround, 255);
            const double mirrored = RatioNow(sides, canvas);
            const int level = ContrastLevel(before);
            if (ContrastLevel(mirrored) < level) {
                const double now = move(sides, true, LevelRatio(level) * NudgeMargin);
                reported.push_back({nudged.size(), {&ground, true, alpha, 255, LevelRatio(level)}});
                nudged.push_back(
                    {i, k, groundRecord, before, mirrored, now, now >= LevelRatio(level), f.Color, ground.Color});
            }
            remember(sides, level, false);
        };
        const auto keepOnPage = [&](std::size_t k, int alpha) {
            keepOn(background, PageBackgroundRecord, RGB(255, 255, 255), k, alpha);
        };
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& f = file.Colors[k];
            if (paired[k] || !Movable(f) || f.Embed.Kind != TEmbedding::None ||
                std::binary_search(backgrounds.Positions.begin(), backgrounds.Positions.end(), f.SourcePos))
                continue;
            keepOnPage(k, AlphaToByte(f.AlphaForm, f.Alpha));
        }
        // Through a custom property, with the alpha of a use of its own.
        for (const TTextOnPage& text : bySelectors.OnPage) {
            const TColorRecord& f = file.Colors[text.Record];
            if (Movable(f)) keepOnPage(text.Record, std::min<int>(text.Alpha, AlphaToByte(f.AlphaForm, f.Alpha)));
        }
        // Declared together, then by different rules for the same element or one it stands in.
        std::vector<TColorPair> pairs = FindColorPairs(file);
        const std::vector<TColorPair> rated = RatePairs(file, bySelectors.Pairs);
        pairs.insert(pairs.end(), rated.begin(), rated.end());
        // A background under the page's text moves itself: the page's text stands on much else; unless
        // it is a custom property's, which texts, borders and buttons share.
        const std::size_t pageTextFrom = pairs.size();
        const std::vector<TColorPair> underText = RatePairs(file, bySelectors.UnderPageText);
        pairs.insert(pairs.end(), underText.begin(), underText.end());
        for (const auto& [pair, mirrored] : KeepDarkBands(file, pairs, canvas, lowerCase)) {
            TColorRecord& f = file.Colors[pair->Foreground];
            TColorRecord& b = file.Colors[pair->Background];
            const double now = RatioNow({f, b, pair->ForegroundAlpha, pair->BackgroundAlpha}, canvas);
            const int level = ContrastLevel(pair->Before);
            reported.push_back(
                {nudged.size(), {&b, true, pair->ForegroundAlpha, pair->BackgroundAlpha, LevelRatio(level)}});
            nudged.push_back({i, pair->Foreground, pair->Background, pair->Before, mirrored, now,
                              now >= LevelRatio(level), f.Color, b.Color});
        }
        for (std::size_t p = 0; p < pairs.size(); ++p) {
            const TColorPair& pair = pairs[p];
            const bool textMoves = p < pageTextFrom || pair.SharedBackground;
            TColorRecord& f = file.Colors[pair.Foreground];
            TColorRecord& b = file.Colors[pair.Background];
            const TSides sides{f, b, pair.ForegroundAlpha, pair.BackgroundAlpha};
            // An earlier pair may have moved one of them.
            const double mirrored = RatioNow(sides, canvas);
            const int level = ContrastLevel(pair.Before);
            const double target = LevelRatio(level) * NudgeMargin;
            // The text moves first; its background only when the text cannot reach the level alone.
            if (ContrastLevel(mirrored) < level && (Movable(b) || (textMoves && Movable(f)))) {
                double now = textMoves && Movable(f) ? move(sides, true, target) : mirrored;
                if (now < target && Movable(b)) now = move(sides, false, target);
                reported.push_back(
                    {nudged.size(), {&b, true, pair.ForegroundAlpha, pair.BackgroundAlpha, LevelRatio(level)}});
                nudged.push_back({i, pair.Foreground, pair.Background, pair.Before, mirrored, now,
                                  now >= LevelRatio(level), f.Color, b.Color});
            }
            remember(sides, level, true);
        }
        // Fields and buttons take the page's text where a sheet says so, and in the dark scheme the browser
        // paints them lighter than the page.
        const auto inherits = [&](const TBrowserGround& ground) {
            return std::any_of(std::begin(ground.Elements), std::end(ground.Elements), [&](std::string_view element) {
                return std::find(bySelectors.TextInheritedBy.begin(), bySelectors.TextInheritedBy.end(), element) !=
                       bySelectors.TextInheritedBy.end();
            });
        };
        for (const TTextOnPage& text : bySelectors.PageText) {
            const TColorRecord& f = file.Colors[text.Record];
            if (!Movable(f)) continue;
            for (std::size_t g = 0; g < grounds.size(); ++g)
                if (inherits(BrowserGrounds[g]))
                    keepOn(grounds[g], BrowserGrounds[g].Record, BrowserGrounds[g].Light, text.Record,
                           std::min<int>(text.Alpha, AlphaToByte(f.AlphaForm, f.Alpha)));
        }
        for (const auto& [n, sides] : reported) {
            TNudgedPair& pair = nudged[n];
            TColorRecord& text = file.Colors[pair.Foreground];
            pair.After = RatioNow({text, *sides.Other, sides.TextAlpha, sides.BackgroundAlpha}, canvas);
            pair.Held = pair.After >= sides.Ratio;
            pair.ForegroundColor = text.Color;
            pair.BackgroundColor = sides.Other->Color;
        }
    }
    return nudged;
}

} // namespace pictor
