#include "adjust/Adjustment.h"

#include "adjust/ColorModels.h"
#include "adjust/DarkPictures.h"
#include "document/ChannelLists.h"
#include "document/CssColorFunction.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"

#include <algorithm>
#include <map>
#include <optional>

namespace pictor {

TColor AdjustColor(const TAdjustment& a, TColor color)
{
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    TIntRGB c{};
    switch (a.Kind) {
    case akHueSat: c = HueSatRGB(r, g, b, a.Params[0], a.Params[1], a.Params[2]); break;
    case akBrightContrast: c = BrightContrastRGB(r, g, b, a.Params[0], a.Params[1]); break;
    case akColorBalance: c = BalanceRGB(r, g, b, a.Params[0], a.Params[1], a.Params[2]); break;
    case akInvert: c = InvertRGB(r, g, b); break;
    case akNewColor: return a.NewColor;
    case akDark: return DarkColor(color, a.DarkEnds());
    }
    return RGB(c.R, c.G, c.B);
}

namespace {

// A colour of its own space changes in extended sRGB, so that it keeps what its space holds beyond sRGB:
// an invert is exact, a new colour is that colour, a dark one is mirrored from what the text holds, and
// the other adjustments move each channel as far as they move its 8-bit value. Returns the text
// written; nothing when text is no such colour.
std::optional<std::string> AdjustOwnSpaceText(const TAdjustment& adjustment, std::string_view text, TColor color)
{
    const auto css = ParseCssSpaceColor(text);
    if (!css) return std::nullopt;
    TTriple srgb = SpaceToSrgb(css->Space, css->Coordinates);
    if (adjustment.Kind == akDark) return WriteCssSpaceColor(text, DarkSrgb(srgb, adjustment.DarkEnds()));
    const TColor adjusted = AdjustColor(adjustment, color);
    const int before[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    const int after[3] = {GetRValue(adjusted), GetGValue(adjusted), GetBValue(adjusted)};
    for (size_t k = 0; k < 3; ++k) {
        switch (adjustment.Kind) {
        case akInvert: srgb[k] = 1 - srgb[k]; break;
        case akNewColor: srgb[k] = after[k] / 255.0; break;
        default: srgb[k] += (after[k] - before[k]) / 255.0; break;
        }
    }
    return WriteCssSpaceColor(text, srgb);
}

void AdjustOwnSpaceColor(const TAdjustment& adjustment, TColorRecord& record)
{
    const auto text = AdjustOwnSpaceText(adjustment, record.Text, record.Color);
    if (!text) return;
    record.Text = *text;
    // As the text written reads, as a reload would give it.
    record.Color = ReadSpaceColorText(record.Text).Color;
}

// A channel list an oklch() or another space's function takes changes as that function's colour would.
void AdjustSpaceChannelList(const TAdjustment& adjustment, TColorRecord& record)
{
    const TChannelReading reading = record.Channels.Reading;
    const auto text = AdjustOwnSpaceText(adjustment, ChannelListFunction(record.Text, reading), record.Color);
    if (!text) return;
    record.Text = std::string(ChannelListOfFunction(*text));
    record.Color = *ChannelListColor(record.Text, reading);
}

// One variable of hsl(var(--h), var(--s), var(--l)) made dark: the hue and the saturation stay, so that
// every colour built from them keeps its hsl() hue; the lightness becomes the one that gives the colour of
// its first use the mirrored oklch lightness (with that use's hue and saturation); a number
// added to the lightness, what it adds there (taken as added, or as subtracted when adding it would
// leave the scale: calc() may subtract a number written without its sign).
void DarkHslChannel(const TDarkEnds& ends, TColorRecord& record)
{
    const TChannelRole role = record.Channels;
    const auto [hue, saturation, shown] = PaintedHsl(record, record.Color);
    const auto value = ChannelNumber(record.Text);
    const bool ownLightness = role.Channel == 2 && !role.Delta && value;
    const double lightness = ownLightness ? *value : shown;
    const double dark = DarkHslLightness(hue, saturation, lightness, ends);
    record.Color = SrgbToDisplay(HslToSrgb(hue, saturation / 100, dark / 100));
    if (ownLightness) {
        record.Text = WithChannelNumber(record.Text, dark);
    } else if (role.Channel == 2 && value) {
        const bool added = lightness + *value >= 0 && lightness + *value <= 100;
        const double moved = DarkHslLightness(hue, saturation, added ? lightness + *value : lightness - *value, ends);
        record.Text = WithChannelNumber(record.Text, added ? moved - dark : dark - moved);
    }
}

} // namespace

void AdjustColorValue(const TAdjustment& adjustment, TColorRecord& record, bool lowerCase)
{
    if (record.Ignored) return;
    if (record.AlphaForm == TAlphaForm::OwnSpace) return AdjustOwnSpaceColor(adjustment, record);
    const TChannelRole role = record.Channels;
    if (IsSpaceReading(role.Reading)) return AdjustSpaceChannelList(adjustment, record);
    if (adjustment.Kind == akDark && role.Channel >= 0 && role.Reading == TChannelReading::Hsl)
        return DarkHslChannel(adjustment.DarkEnds(), record);
    record.Color = AdjustColor(adjustment, record.Color);
    // One channel of several variables: an invert is exact channel by channel; another change takes
    // the channel from the colour the variable shows.
    if (role.Channel >= 0)
        record.Text = adjustment.Kind == akInvert ? InvertedChannelText(record.Text, role) : ChannelText(record.Text, role, record.Color);
    else if (role.Reading != TChannelReading::None)
        record.Text = ChannelListText(record.OrgText, role.Reading, record.Color);
    else
        record.Text = ColorToText(record.Color, record.AlphaForm, record.Alpha, lowerCase);
}

bool IsHslLightness(const TColorRecord& record)
{
    const TChannelRole role = record.Channels;
    return role.Reading == TChannelReading::Hsl && role.Channel == 2 && !role.Delta;
}

std::array<double, 3> PaintedHsl(const TColorRecord& record, TColor color)
{
    auto hsl = HslOf(color);
    if (record.UseHueSaturation) std::copy_n(record.UseHueSaturation->begin(), 2, hsl.begin());
    return hsl;
}

void SetOklchLightness(TColorRecord& record, std::string_view fromText, TColor fromColor, double lightness, bool lowerCase)
{
    const TChannelReading reading = record.Channels.Reading;
    const bool list = IsSpaceReading(reading);
    if (record.AlphaForm == TAlphaForm::OwnSpace || list) {
        const std::string function = list ? ChannelListFunction(fromText, reading) : std::string(fromText);
        if (const auto css = ParseCssSpaceColor(function)) {
            const std::string text = WriteCssSpaceColor(function, WithLightnessSrgb(SpaceToSrgb(css->Space, css->Coordinates), lightness));
            record.Text = list ? std::string(ChannelListOfFunction(text)) : text;
            record.Color = list ? *ChannelListColor(record.Text, reading) : ReadSpaceColorText(record.Text).Color;
            return;
        }
    }
    AdjustColorValue(TAdjustment::NewColorOf(WithLightness(fromColor, lightness)), record, lowerCase);
}

void AdjustBitmap(const TAdjustment& a, TBitmapEx& bitmap, TWorkPool* pool)
{
    switch (a.Kind) {
    case akHueSat: bitmap.HueSat(a.Params[0], a.Params[1], a.Params[2], pool); break;
    case akBrightContrast: bitmap.BrightContrast(a.Params[0], a.Params[1], pool); break;
    case akColorBalance: bitmap.ColorBalance(a.Params[0], a.Params[1], a.Params[2], pool); break;
    case akInvert: bitmap.Invert(pool); break;
    case akNewColor: break;
    case akDark: DarkenPicture(bitmap, a.DarkEnds(), a.Params[2] != 0, pool); break;
    }
}

void ApplyToTickedColors(IFileSet& files, const TAdjustment& adjustment, bool lowerCase)
{
    ForEachColor(files, [&](TColorRecord& record) {
        if (record.Checked) AdjustColorValue(adjustment, record, lowerCase);
    });
}

void ApplyToTickedPictures(IFileSet& files, const TAdjustment& adjustment, const TDocumentOptions& options,
                           const TPictureProgress& progress)
{
    if (adjustment.Kind == akNewColor) return;
    // The records of one file, named by several references, change together: the file is adjusted once.
    std::vector<std::vector<TPicRecord*>> pictures;
    std::map<std::string, size_t> fileOf;
    ForEachPicture(files, [&](TPicRecord& pic) {
        if (!pic.Tickable()) return;
        const auto [at, added] = fileOf.emplace(FileIdentity(pic.FullPath), pictures.size());
        if (added) pictures.emplace_back();
        pictures[at->second].push_back(&pic);
    });
    std::erase_if(pictures, [](const auto& records) {
        return std::none_of(records.begin(), records.end(), [](const TPicRecord* p) { return p->Checked; });
    });
    const int total = int(pictures.size());
    int done = 0;
    for (const auto& records : pictures) {
        if (progress) progress(done++, total);
        TPicRecord& ticked = **std::find_if(records.begin(), records.end(), [](const TPicRecord* p) { return p->Checked; });
        AdjustBitmap(adjustment, ticked.Bitmap, options.Pool);
        for (TPicRecord* pic : records) {
            pic->Bitmap = ticked.Bitmap;
            if (pic == &ticked || pic->WorkPath != ticked.WorkPath)
                files.WorkingCopies().WritePicture(pic->WorkPath, pic->Bitmap, options.Pool);
        }
    }
    if (progress) progress(done, total);
}

void ApplyToTicked(IFileSet& files, const TAdjustment& adjustment, const TDocumentOptions& options,
                   const TPictureProgress& progress)
{
    ApplyToTickedColors(files, adjustment, options.LowerCase);
    ApplyToTickedPictures(files, adjustment, options, progress);
}

} // namespace pictor
