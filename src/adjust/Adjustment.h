#pragma once
#include "adjust/DarkColors.h"
#include "picture/BitmapEx.h"
#include "document/ColorLiterals.h"

#include <array>
#include <functional>
#include <string>

namespace pictor {

class IFileSet;
struct TColorRecord;
struct TDocumentOptions;

enum TAdjustKind { akHueSat = 0, akBrightContrast = 1, akColorBalance = 2, akInvert = 3, akNewColor = 4, akDark = 5 };

// One adjustment and its parameters: hue, saturation, lightness; brightness, contrast; red, green, blue;
// dark end, light end, 1 when only flat-colour pictures darken.
struct TAdjustment {
    TAdjustKind Kind = akInvert;
    int Params[3] = {0, 0, 0};
    TColor NewColor = 0;  // akNewColor

    static TAdjustment HueSat(int hue, int saturation, int lightness) { return {akHueSat, {hue, saturation, lightness}}; }
    static TAdjustment BrightContrast(int brightness, int contrast) { return {akBrightContrast, {brightness, contrast, 0}}; }
    static TAdjustment ColorBalance(int red, int green, int blue) { return {akColorBalance, {red, green, blue}}; }
    static TAdjustment Invert() { return {akInvert, {0, 0, 0}}; }
    static TAdjustment NewColorOf(TColor color) { return {akNewColor, {0, 0, 0}, color}; }
    static TAdjustment Dark(TDarkEnds ends = {}, bool flatPicturesOnly = true)
    {
        return {akDark, {ends.Dark, ends.Light, flatPicturesOnly ? 1 : 0}};
    }
    TDarkEnds DarkEnds() const { return {Params[0], Params[1]}; }

    // Every parameter zero: the dialogs' OK then changes nothing.
    bool AllZero() const { return Params[0] == 0 && Params[1] == 0 && Params[2] == 0; }
};

// The record's colour adjusted (alpha kept) and its text rewritten as a colour code, even when the value
// did not change. A colour a browser ignores is left alone.
void AdjustColorValue(const TAdjustment& adjustment, TColorRecord& record, bool lowerCase);
TColor AdjustColor(const TAdjustment& adjustment, TColor color);
// The record's colour given oklch lightness (0-1) from what it was (fromText, fromColor), its hue kept: a
// colour of its own space, or a channel list one takes, in extended sRGB and exactly; how contrast is
// mended.
void SetOklchLightness(TColorRecord& record, std::string_view fromText, TColor fromColor, double lightness, bool lowerCase);
// The record is an hsl() lightness variable's value.
bool IsHslLightness(const TColorRecord& record);
// Hue, saturation and lightness of color, with the hue and saturation as a one-channel hsl() variable's
// first use writes them where the record has one.
std::array<double, 3> PaintedHsl(const TColorRecord& record, TColor color);
// Pictures take every kind but akNewColor.
void AdjustBitmap(const TAdjustment& adjustment, TBitmapEx& bitmap, TWorkPool* pool = nullptr);

// Called before each picture is adjusted: (done, total).
using TPictureProgress = std::function<void(int, int)>;

// Every ticked colour of each file, then every ticked picture, each written to its
// working copy at once.
void ApplyToTicked(IFileSet& files, const TAdjustment& adjustment, const TDocumentOptions& options,
                   const TPictureProgress& progress = {});
void ApplyToTickedColors(IFileSet& files, const TAdjustment& adjustment, bool lowerCase);
void ApplyToTickedPictures(IFileSet& files, const TAdjustment& adjustment, const TDocumentOptions& options,
                           const TPictureProgress& progress = {});

} // namespace pictor
