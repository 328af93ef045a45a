#include "colordialog/ColorSelectModel.h"

#include "adjust/ColorModels.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

// Modes:  band  box X  box Y (channel = 255 - Y)
//   H      H      S      V
//   S      S      H      V
//   V      V      H      S
//   R      R      B      G
//   G      G      R      B
//   B      B      G      R
// Hues sit on a position scale of 0..255 through PositionToHue and HueToPosition.

namespace pictor {

namespace {

constexpr unsigned LoadSteps = usRenderBox | usShowBox | usRenderBand | usDrawPalette | usDrawPointer;
constexpr unsigned ModeSteps = usRenderBox | usShowBox | usRenderBand | usDrawPointer;
constexpr unsigned BoxSteps = usShowBox | usRenderBand | usDrawPalette;
constexpr unsigned BandSteps = usRenderBox | usShowBox | usDrawPalette | usDrawPointer;
constexpr unsigned WebSafeSteps = usRenderBox | usShowBox | usRenderBand | usDrawPalette;

// Ties to the even neighbour, as the default rounding mode (which nothing changes) does.
int Round(double x) { return static_cast<int>(std::nearbyint(x)); }

int FieldValue(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool IsHsvField(TColorField field) { return field == cfH || field == cfS || field == cfV; }

} // namespace

int SnapWebSafe(int c) { return (c + 25) / 51 * 51; }  // c / 51 never ends in .5

bool IsHexFieldChar(char c)
{
    return c == '\b' || c == '#' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

TColorSelectModel::TColorSelectModel(const TPaletteCells& customColors, TColor color, bool useWebSafeColor)
    : Cells_(customColors), WebSafeFlag_(useWebSafeColor), Box_(BoxSize * BoxSize * 3)
{
    int matched = -1;
    for (int i = 0; i < PaletteCellCount; ++i)
        if (Cells_[i] == color) matched = i;
    if (matched >= 0)
        SelectedCell_ = matched;
    else
        Cells_[PaletteCellCount - 1] = color;
    CurrentColor_ = color;
}

unsigned TColorSelectModel::FormShow()
{
    LoadFromCell();
    PositionsFromValues();
    unsigned steps = Run(LoadSteps);
    if (WebSafeFlag_) steps |= WebSafeChange(true);
    return steps;
}

unsigned TColorSelectModel::PaletteButtonClick(int tag)
{
    SelectedCell_ = tag;
    LoadFromCell();
    PositionsFromValues();
    return Run(LoadSteps);
}

unsigned TColorSelectModel::ModeChange(TChannelMode mode)
{
    Mode_ = mode;
    PositionsFromValues();
    ValuesFromPositions(peMode);
    return Run(ModeSteps);
}

unsigned TColorSelectModel::BoxMouse(double x, double y)
{
    X_ = ClampRoundByte(x);
    Y_ = ClampRoundByte(y);
    ValuesFromPositions(peBox);
    return Run(BoxSteps);
}

unsigned TColorSelectModel::BandMouse(double y)
{
    BandValue_ = 255 - ClampRoundByte(y);
    ValuesFromPositions(peBand);
    return Run(BandSteps);
}

unsigned TColorSelectModel::WebSafeChange(bool on)
{
    if (on == WebSafe_) return 0;
    WebSafe_ = on;
    ValuesFromPositions(peMode);
    return Run(WebSafeSteps);
}

unsigned TColorSelectModel::FieldEntered(TColorField field)
{
    const std::string& text = Texts_[field];
    if (field == cfHex) {
        if (text.size() != 7) return 0;
        LoadFromHex();
    } else {
        if (text.empty()) return 0;
        if (IsHsvField(field))
            LoadFromHsvFields();
        else
            LoadFromRgbFields();
    }
    PositionsFromValues();
    return Run(LoadSteps);
}

unsigned TColorSelectModel::UpDownClick(TColorField field, int delta)
{
    const int top = field == cfH ? 360 : 255;
    int value = std::clamp(FieldValue(Texts_[field]), 0, top) + delta;
    if (field == cfH)
        value = (value + 361) % 361;
    else
        value = std::clamp(value, 0, top);
    Texts_[field] = std::to_string(value);
    return FieldEntered(field);
}

void TColorSelectModel::SetFieldText(TColorField field, std::string text) { Texts_[field] = std::move(text); }

void TColorSelectModel::HsvFromRgb()
{
    const THSV hsv = RGBToHSV(R_, G_, B_);
    H_ = Round(hsv.H);
    S_ = Round(hsv.S);
    V_ = Round(hsv.V);
}

void TColorSelectModel::WriteRgbTexts(int r, int g, int b)
{
    Texts_[cfR] = std::to_string(r);
    Texts_[cfG] = std::to_string(g);
    Texts_[cfB] = std::to_string(b);
}

void TColorSelectModel::WriteHsvTexts(int h, int s, int v)
{
    Texts_[cfH] = std::to_string(h);
    Texts_[cfS] = std::to_string(s);
    Texts_[cfV] = std::to_string(v);
}

void TColorSelectModel::WriteHexText(int r, int g, int b) { Texts_[cfHex] = ColorToUpperCode(RGB(r, g, b)); }

void TColorSelectModel::LoadFromCell()
{
    const TColor c = Cells_[SelectedCell_];
    R_ = GetRValue(c);
    G_ = GetGValue(c);
    B_ = GetBValue(c);
    WriteRgbTexts(R_, G_, B_);
    HsvFromRgb();
    WriteHsvTexts(H_, S_, V_);
    WriteHexText(R_, G_, B_);
}

void TColorSelectModel::LoadFromHex()
{
    // The first character is not examined.
    const std::string_view text = Texts_[cfHex];
    R_ = HexPairToByte(text.substr(1, 2));
    G_ = HexPairToByte(text.substr(3, 2));
    B_ = HexPairToByte(text.substr(5, 2));
    WriteRgbTexts(R_, G_, B_);
    HsvFromRgb();
    WriteHsvTexts(H_, S_, V_);
    Cells_[SelectedCell_] = RGB(R_, G_, B_);
}

void TColorSelectModel::LoadFromHsvFields()
{
    // 360 is the same hue as 0; any other hue is taken as typed, even above 360.
    H_ = Texts_[cfH] == "360" ? 0 : FieldValue(Texts_[cfH]);
    S_ = ClampRoundByte(FieldValue(Texts_[cfS]));
    V_ = ClampRoundByte(FieldValue(Texts_[cfV]));
    const TIntRGB rgb = HSVToRGB(H_, S_, V_);
    R_ = rgb.R;
    G_ = rgb.G;
    B_ = rgb.B;
    WriteRgbTexts(R_, G_, B_);
    WriteHexText(R_, G_, B_);
    Cells_[SelectedCell_] = RGB(R_, G_, B_);
}

void TColorSelectModel::LoadFromRgbFields()
{
    R_ = ClampRoundByte(FieldValue(Texts_[cfR]));
    G_ = ClampRoundByte(FieldValue(Texts_[cfG]));
    B_ = ClampRoundByte(FieldValue(Texts_[cfB]));
    HsvFromRgb();
    WriteHsvTexts(H_, S_, V_);
    WriteHexText(R_, G_, B_);
    Cells_[SelectedCell_] = RGB(R_, G_, B_);
}

void TColorSelectModel::PositionsFromValues()
{
    const int hue = Round(H_ * HueToPosition);
    switch (Mode_) {
    case cmH: BandValue_ = hue, X_ = S_, Y_ = 255 - V_; break;
    case cmS: BandValue_ = S_, X_ = hue, Y_ = 255 - V_; break;
    case cmV: BandValue_ = V_, X_ = hue, Y_ = 255 - S_; break;
    case cmR: BandValue_ = R_, X_ = B_, Y_ = 255 - G_; break;
    case cmG: BandValue_ = G_, X_ = R_, Y_ = 255 - B_; break;
    case cmB: BandValue_ = B_, X_ = G_, Y_ = 255 - R_; break;
    }
}

void TColorSelectModel::ValuesFromPositions(TPositionEvent event)
{
    switch (Mode_) {
    case cmH:
        if (event == peBand) H_ = Round(BandValue_ * PositionToHue);
        S_ = X_, V_ = 255 - Y_;
        break;
    case cmS:
        if (event != peMode) H_ = Round(X_ * PositionToHue);
        S_ = BandValue_, V_ = 255 - Y_;
        break;
    case cmV:
        if (event != peMode) H_ = Round(X_ * PositionToHue);
        S_ = 255 - Y_, V_ = BandValue_;
        break;
    case cmR: R_ = BandValue_, B_ = X_, G_ = 255 - Y_; break;
    case cmG: G_ = BandValue_, R_ = X_, B_ = 255 - Y_; break;
    case cmB: B_ = BandValue_, G_ = X_, R_ = 255 - Y_; break;
    }
    if (Mode_ == cmH || Mode_ == cmS || Mode_ == cmV) {
        const TIntRGB rgb = HSVToRGB(H_ == 360 ? 0 : H_, S_, V_);
        R_ = rgb.R, G_ = rgb.G, B_ = rgb.B;
    } else {
        HsvFromRgb();
    }
    if (WebSafe_) {
        // The fields and the cell show the snapped colour; the values stay as the positions give them.
        const int r = SnapWebSafe(R_), g = SnapWebSafe(G_), b = SnapWebSafe(B_);
        const THSV hsv = RGBToHSV(r, g, b);
        WriteRgbTexts(r, g, b);
        WriteHsvTexts(Round(hsv.H), Round(hsv.S), Round(hsv.V));
        WriteHexText(r, g, b);
        Cells_[SelectedCell_] = RGB(r, g, b);
    } else {
        WriteRgbTexts(R_, G_, B_);
        WriteHsvTexts(H_, S_, V_);
        WriteHexText(R_, G_, B_);
        Cells_[SelectedCell_] = RGB(R_, G_, B_);
    }
}

void TColorSelectModel::ComputeCurrentColor()
{
    UnsnappedColor_ = RGB(R_, G_, B_);
    CurrentColor_ = WebSafe_ ? RGB(SnapWebSafe(R_), SnapWebSafe(G_), SnapWebSafe(B_)) : UnsnappedColor_;
}

unsigned TColorSelectModel::Run(unsigned steps)
{
    ComputeCurrentColor();
    if (steps & usRenderBox) RenderBox();
    if (steps & usRenderBand) RenderBand();
    return steps;
}

} // namespace pictor
