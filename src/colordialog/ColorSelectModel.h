#pragma once
#include "document/ColorLiterals.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pictor {

// The channel the band shows; the box shows two others (see the mode table in the .cpp).
enum TChannelMode { cmH, cmS, cmV, cmR, cmG, cmB };

// edtH ... edtB and edtHex.
enum TColorField { cfH, cfS, cfV, cfR, cfG, cfB, cfHex };

// The drawing steps of an update. The model runs the two renders into its own buffers;
// the form runs the others from the returned set.
enum TUpdateStep : unsigned {
    usRenderBox = 1,
    usShowBox = 2,
    usRenderBand = 4,
    usDrawPalette = 8,
    usDrawPointer = 16,
};

constexpr int PaletteCellCount = 28;
constexpr int BoxSize = 256;
constexpr double PositionToHue = 361.0 / 256;  // 1.41015625, exact
constexpr double HueToPosition = 256.0 / 361;

using TPaletteCells = std::array<TColor, PaletteCellCount>;

// Round(c / 51) * 51: one of 0, 51, 102, 153, 204, 255.
int SnapWebSafe(int c);
// Characters that edtHex takes from the keyboard ('\b' is backspace).
bool IsHexFieldChar(char c);

// The state of TfrmColorSelectDlg and every step of its event table, without widgets.
class TColorSelectModel {
public:
    // Execute's set-up: the cell matching `color` (the last one) is selected, else cell 27 takes it.
    TColorSelectModel(const TPaletteCells& customColors, TColor color, bool useWebSafeColor);

    // Events. Each returns the TUpdateStep set it ran (0: nothing happened).
    unsigned FormShow();
    unsigned PaletteButtonClick(int tag);
    unsigned ModeChange(TChannelMode mode);
    unsigned BoxMouse(double x, double y);
    unsigned BandMouse(double y);
    unsigned WebSafeChange(bool on);
    // Key released in a field, or SpeedButton1 for cfHex: edtHex needs exactly 7 characters,
    // a numeric field any text.
    unsigned FieldEntered(TColorField field);
    // Up-down of a numeric field: steps the field's value (udH wraps 0..360, the others stop
    // at 0..255), then as for a key.
    unsigned UpDownClick(TColorField field, int delta);

    // The user's edit of a field, before its key-released event.
    void SetFieldText(TColorField field, std::string text);
    const std::string& FieldText(TColorField field) const { return Texts_[field]; }

    int H() const { return H_; }
    int S() const { return S_; }
    int V() const { return V_; }
    int R() const { return R_; }
    int G() const { return G_; }
    int B() const { return B_; }
    TChannelMode Mode() const { return Mode_; }
    int BandValue() const { return BandValue_; }
    int X() const { return X_; }
    int Y() const { return Y_; }
    TColor CurrentColor() const { return CurrentColor_; }
    TColor UnsnappedColor() const { return UnsnappedColor_; }
    const TPaletteCells& Cells() const { return Cells_; }
    int SelectedCell() const { return SelectedCell_; }
    // The check box's state.
    bool WebSafe() const { return WebSafe_; }

    // 256 x 256 pixels, three bytes each (blue first), rows from the top, packed.
    const std::vector<std::uint8_t>& BoxPixels() const { return Box_; }
    // Row y of the band (y = 0 at the top).
    const std::array<TColor, BoxSize>& BandRows() const { return BandRows_; }

private:
    enum TPositionEvent { peMode, peBox, peBand };

    void LoadFromCell();
    void LoadFromHex();
    void LoadFromHsvFields();
    void LoadFromRgbFields();
    void PositionsFromValues();
    void ValuesFromPositions(TPositionEvent event);
    void ComputeCurrentColor();
    unsigned Run(unsigned steps);
    void RenderBox();
    void RenderBand();

    void HsvFromRgb();
    void WriteRgbTexts(int r, int g, int b);
    void WriteHsvTexts(int h, int s, int v);
    void WriteHexText(int r, int g, int b);

    std::array<std::string, 7> Texts_{"0", "0", "0", "0", "0", "0", ""};
    int H_ = 0, S_ = 0, V_ = 0, R_ = 0, G_ = 0, B_ = 0;
    TChannelMode Mode_ = cmH;
    int BandValue_ = 0, X_ = 0, Y_ = 0;
    TColor CurrentColor_ = 0, UnsnappedColor_ = 0;
    TPaletteCells Cells_{};
    int SelectedCell_ = PaletteCellCount - 1;
    bool WebSafe_ = false;      // the check box
    bool WebSafeFlag_ = false;  // UseWebSafeColor handed in, applied on show
    std::vector<std::uint8_t> Box_;
    std::array<TColor, BoxSize> BandRows_{};
};

} // namespace pictor
