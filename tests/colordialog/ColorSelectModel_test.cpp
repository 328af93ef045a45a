#include "colordialog/ColorSelectModel.h"

#include "adjust/ColorModels.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace pictor {
namespace {

constexpr unsigned AllSteps = usRenderBox | usShowBox | usRenderBand | usDrawPalette | usDrawPointer;
using Texts = std::vector<std::string>;

// A shown dialog over a black palette whose cell 27 holds `color`.
TColorSelectModel Shown(TColor color, bool webSafe = false)
{
    TColorSelectModel model(TPaletteCells{}, color, webSafe);
    model.FormShow();
    return model;
}

Texts FieldTexts(const TColorSelectModel& m)
{
    Texts texts;
    for (TColorField f : {cfH, cfS, cfV, cfR, cfG, cfB, cfHex}) texts.push_back(m.FieldText(f));
    return texts;
}

unsigned Type(TColorSelectModel& m, TColorField field, const std::string& text)
{
    m.SetFieldText(field, text);
    return m.FieldEntered(field);
}

// Band value and box position; the three HSV values.
std::array<int, 3> Place(const TColorSelectModel& m) { return {m.BandValue(), m.X(), m.Y()}; }
std::array<int, 3> Hsv(const TColorSelectModel& m) { return {m.H(), m.S(), m.V()}; }

bool IsWebSafe(TColor c) { return GetRValue(c) % 51 == 0 && GetGValue(c) % 51 == 0 && GetBValue(c) % 51 == 0; }

TEST(ColorSelectModel, OpensOnTheLastMatchingCellElseCell27TakesTheColourAndAButtonLoadsItsCell)
{
    TPaletteCells cells{};
    cells[3] = cells[9] = RGB(1, 2, 3);
    cells[5] = RGB(255, 0, 0);
    EXPECT_EQ(TColorSelectModel(cells, RGB(1, 2, 3), false).SelectedCell(), 9);
    TColorSelectModel model(cells, RGB(0, 255, 128), false);
    EXPECT_EQ(model.SelectedCell(), 27);
    EXPECT_EQ(model.FormShow(), AllSteps);
    EXPECT_EQ(FieldTexts(model), (Texts{"150", "255", "255", "0", "255", "128", "#00FF80"}));
    EXPECT_EQ(Place(model), (std::array{106, 255, 0}));  // band Round(150 * 256 / 361)

    const TPaletteCells before = model.Cells();
    EXPECT_EQ(before[27], RGB(0, 255, 128));
    EXPECT_EQ(model.PaletteButtonClick(5), AllSteps);
    EXPECT_EQ(model.Cells(), before);
    EXPECT_EQ(FieldTexts(model), (Texts{"0", "255", "255", "255", "0", "0", "#FF0000"}));
}

TEST(ColorSelectModel, SwitchingFromAnRgbToAnHsvModeRecomputesFromRoundedHsv)
{
    TColorSelectModel model = Shown(RGB(0, 5, 55));
    model.ModeChange(cmR);
    model.ModeChange(cmH);  // H 235 rounded from 234.5...: green comes back one step lower
    EXPECT_EQ(model.FieldText(cfG), "4");
    EXPECT_EQ(model.Cells()[27], RGB(0, 4, 55));
}

// The box clamps and rounds ties to even, carries the hue only in the hue modes; the band sets its channel.
TEST(ColorSelectModel, BoxAndBandMice)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    const std::vector<std::uint8_t> box = model.BoxPixels();
    EXPECT_EQ(model.BoxMouse(-3, 300.7), usShowBox | usRenderBand | usDrawPalette);
    EXPECT_EQ(Place(model), (std::array{149, 0, 255}));
    EXPECT_EQ(model.CurrentColor(), RGB(0, 0, 0));
    model.BoxMouse(10.5, 20.5);
    EXPECT_EQ(Hsv(model), (std::array{210, 10, 235}));
    EXPECT_EQ(model.Cells()[27], model.CurrentColor());
    EXPECT_EQ(model.BoxPixels(), box);

    model.ModeChange(cmS);
    model.BoxMouse(100, 0);
    EXPECT_EQ(Hsv(model), (std::array{141, 10, 255}));  // H = Round(100 * 1.41015625)
    model.BoxMouse(255, 0);  // 359.59 rounds to 360, which converts as 0
    EXPECT_EQ(model.FieldText(cfH), "360");
    EXPECT_EQ(model.CurrentColor(), RGB(255, 245, 245));

    TColorSelectModel banded = Shown(RGB(40, 80, 120));
    EXPECT_EQ(banded.BandMouse(0), usRenderBox | usShowBox | usDrawPalette | usDrawPointer);
    EXPECT_EQ(banded.H(), 360);
    EXPECT_NE(banded.BoxPixels(), box);
    banded.ModeChange(cmR);
    banded.BandMouse(55);
    EXPECT_EQ(banded.FieldText(cfHex), "#C82828");  // H 0, S 170, V 120 gave (120, 40, 40)
}

TEST(ColorSelectModel, WebSafeSnapsTheResultButNotTheValuesOrPositions)
{
    TColorSelectModel shown = Shown(RGB(10, 100, 200), true);  // on when shown: from the first update
    EXPECT_EQ(shown.Cells()[27], RGB(0, 102, 204));
    EXPECT_NE(shown.G(), 102);

    TColorSelectModel model = Shown(RGB(40, 80, 120));
    EXPECT_EQ(model.WebSafeChange(true), usRenderBox | usShowBox | usRenderBand | usDrawPalette);
    for (std::uint8_t c : model.BoxPixels()) ASSERT_EQ(c % 51, 0);
    model.ModeChange(cmR);
    EXPECT_EQ(model.BandRows()[0], RGB(255, 102, 102));  // fixed channels from the snapped (51, 102, 102)
    model.ModeChange(cmH);
    for (int x = 0; x < 256; x += 37)
        for (int y = 0; y < 256; y += 41) {
            model.BoxMouse(x, y);
            ASSERT_TRUE(IsWebSafe(model.CurrentColor())) << x << "," << y;
            EXPECT_EQ(model.FieldText(cfR), std::to_string(GetRValue(model.CurrentColor())));
            EXPECT_EQ(model.UnsnappedColor(), RGB(model.R(), model.G(), model.B()));
        }
    model.BoxMouse(100, 100);
    EXPECT_EQ(Hsv(model)[1], 100);
    EXPECT_NE(model.UnsnappedColor(), model.CurrentColor());
    model.WebSafeChange(false);
    EXPECT_EQ(model.CurrentColor(), model.UnsnappedColor());
}

// Typed text stays as typed; the hex field loads at seven characters, a number field clamps all but the hue.
TEST(ColorSelectModel, TypedFields)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    EXPECT_EQ(Type(model, cfHex, "#00ff8"), 0u);
    EXPECT_EQ(Type(model, cfHex, "#00ff80"), AllSteps);
    EXPECT_EQ(FieldTexts(model), (Texts{"150", "255", "255", "0", "255", "128", "#00ff80"}));
    Type(model, cfHex, "XzZ1080");  // the first character is not examined; a bad pair gives 255
    EXPECT_EQ(model.CurrentColor(), RGB(255, 0x10, 0x80));

    model.SetFieldText(cfS, "255");
    model.SetFieldText(cfV, "255");
    Type(model, cfH, "360");
    EXPECT_EQ(FieldTexts(model), (Texts{"360", "255", "255", "255", "0", "0", "#FF0000"}));
    Type(model, cfH, "400");  // past the last sector: HSVToRGB's fallback formula
    EXPECT_EQ(model.CurrentColor(), RGB(255, 0, 85));
    Type(model, cfS, "300");
    EXPECT_EQ(model.S(), 255);
    EXPECT_EQ(model.FieldText(cfS), "300");
    EXPECT_EQ(Type(model, cfV, ""), 0u);
    model.ModeChange(cmR);
    EXPECT_EQ(Type(model, cfR, "300"), AllSteps);
    EXPECT_EQ(model.R(), 255);
}

} // namespace
} // namespace pictor
