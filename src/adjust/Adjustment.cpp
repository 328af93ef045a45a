#include "adjust/Adjustment.h"

#include "adjust/ColorModels.h"
#include "adjust/DarkPictures.h"
#include "document/CssColorFunction.h"
#include "document/HtmlStructure.h"
#include "document/Paths.h"

#include <algorithm>
#include <map>

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

void SetOwnSpaceColor(TColorRecord& record, const TTriple& srgb)
{
    record.Text = WriteCssSpaceColor(record.Text, srgb);
    // As the text written reads, as a reload would give it.
    record.Color = ReadSpaceColorText(record.Text).Color;
}

// A colour of its own space changes in extended sRGB, so that it keeps what its space holds beyond sRGB:
// an invert is exact, a new colour is that colour, a dark one is mirrored from what the text holds, and
// the other adjustments move each channel as far as they move its 8-bit value.
void AdjustOwnSpaceColor(const TAdjustment& adjustment, TColorRecord& record)
{
    const auto css = ParseCssSpaceColor(record.Text);
    if (!css) return;
    TTriple srgb = SpaceToSrgb(css->Space, css->Coordinates);
    if (adjustment.Kind == akDark) return SetOwnSpaceColor(record, DarkSrgb(srgb, adjustment.DarkEnds()));
    const TColor adjusted = AdjustColor(adjustment, record.Color);
    const int before[3] = {GetRValue(record.Color), GetGValue(record.Color), GetBValue(record.Color)};
    const int after[3] = {GetRValue(adjusted), GetGValue(adjusted), GetBValue(adjusted)};
    for (size_t k = 0; k < 3; ++k) {
        switch (adjustment.Kind) {
        case akInvert: srgb[k] = 1 - srgb[k]; break;
        case akNewColor: srgb[k] = after[k] / 255.0; break;
        default: srgb[k] += (after[k] - before[k]) / 255.0; break;
        }
    }
    SetOwnSpaceColor(record, srgb);
}

} // namespace

void AdjustColorValue(const TAdjustment& adjustment, TColorRecord& record, bool lowerCase)
{
    if (record.Ignored) return;
    if (record.AlphaForm == TAlphaForm::OwnSpace) return AdjustOwnSpaceColor(adjustment, record);
    record.Color = AdjustColor(adjustment, record.Color);
    if (record.Channels != TChannelReading::None)
        record.Text = ChannelListText(record.OrgText, record.Channels, record.Color);
    else
        record.Text = ColorToText(record.Color, record.AlphaForm, record.Alpha, lowerCase);
}

void AdjustBitmap(const TAdjustment& a, TBitmapEx& bitmap)
{
    switch (a.Kind) {
    case akHueSat: bitmap.HueSat(a.Params[0], a.Params[1], a.Params[2]); break;
    case akBrightContrast: bitmap.BrightContrast(a.Params[0], a.Params[1]); break;
    case akColorBalance: bitmap.ColorBalance(a.Params[0], a.Params[1], a.Params[2]); break;
    case akInvert: bitmap.Invert(); break;
    case akNewColor: break;
    case akDark: DarkenPicture(bitmap, a.DarkEnds(), a.Params[2] != 0); break;
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
        AdjustBitmap(adjustment, ticked.Bitmap);
        for (TPicRecord* pic : records) {
            pic->Bitmap = ticked.Bitmap;
            if (pic == &ticked || pic->WorkPath != ticked.WorkPath)
                files.WorkingCopies().WritePicture(pic->WorkPath, pic->Bitmap, options.JpegQuality);
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
