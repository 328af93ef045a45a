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

TColor Color(TIntRGB c) { return RGB(c.R, c.G, c.B); }

TEST(ColorSelectModel, OpensOnTheLastMatchingCellElseCell27TakesTheColour)
{
    TPaletteCells cells{};
    cells[3] = cells[9] = RGB(1, 2, 3);
    const TColorSelectModel matched(cells, RGB(1, 2, 3), false);
    EXPECT_EQ(matched.SelectedCell(), 9);
    EXPECT_EQ(matched.Cells()[27], 0u);

    const TColorSelectModel unmatched(cells, RGB(9, 9, 9), false);
    EXPECT_EQ(unmatched.SelectedCell(), 27);
    EXPECT_EQ(unmatched.Cells()[27], RGB(9, 9, 9));
    EXPECT_EQ(unmatched.Cells()[3], RGB(1, 2, 3));
}

TEST(ColorSelectModel, ShowAndPaletteButtonLoadTheCellIntoFieldsAndPositions)
{
    TPaletteCells cells{};
    cells[5] = RGB(255, 0, 0);
    TColorSelectModel model(cells, RGB(0, 255, 128), false);
    EXPECT_EQ(model.FormShow(), AllSteps);
    EXPECT_EQ(FieldTexts(model), (Texts{"150", "255", "255", "0", "255", "128", "#00FF80"}));
    EXPECT_EQ(Place(model), (std::array{106, 255, 0}));  // band Round(150 * 256 / 361)

    const TPaletteCells before = model.Cells();
    EXPECT_EQ(model.PaletteButtonClick(5), AllSteps);
    EXPECT_EQ(model.SelectedCell(), 5);
    EXPECT_EQ(model.Cells(), before);
    EXPECT_EQ(FieldTexts(model), (Texts{"0", "255", "255", "255", "0", "0", "#FF0000"}));
}

TEST(ColorSelectModel, SwitchingFromAnRgbToAnHsvModeRecomputesFromRoundedHsv)
{
    TColorSelectModel model = Shown(RGB(0, 5, 55));
    model.ModeChange(cmR);
    EXPECT_EQ(model.G(), 5);
    model.ModeChange(cmH);  // H 235 rounded from 234.5...: green comes back one step lower
    EXPECT_EQ(model.FieldText(cfG), "4");
    EXPECT_EQ(model.Cells()[27], RGB(0, 4, 55));
}

TEST(ColorSelectModel, BoxMouseClampsRoundsAndCarriesTheHueOnlyInHueModes)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    const std::vector<std::uint8_t> box = model.BoxPixels();
    EXPECT_EQ(model.BoxMouse(-3, 300.7), usShowBox | usRenderBand | usDrawPalette);
    EXPECT_EQ(Place(model), (std::array{149, 0, 255}));
    EXPECT_EQ(model.CurrentColor(), RGB(0, 0, 0));

    model.BoxMouse(10.5, 20.5);  // ties go to the even neighbour
    EXPECT_EQ(Place(model), (std::array{149, 10, 20}));
    EXPECT_EQ(Hsv(model), (std::array{210, 10, 235}));  // the box does not carry the hue in H mode
    EXPECT_EQ(model.Cells()[27], model.CurrentColor());
    EXPECT_EQ(model.FieldText(cfS), "10");
    EXPECT_EQ(model.BoxPixels(), box);

    model.ModeChange(cmS);
    model.BoxMouse(100, 0);
    EXPECT_EQ(Hsv(model), (std::array{141, 10, 255}));  // H = Round(100 * 1.41015625)
    model.BoxMouse(255, 0);  // 359.59 rounds to 360, which converts as 0
    EXPECT_EQ(model.FieldText(cfH), "360");
    EXPECT_EQ(model.CurrentColor(), Color(HSVToRGB(0, 10, 255)));
}

TEST(ColorSelectModel, BandMouseSetsTheBandChannelAndRerendersTheBox)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    const std::vector<std::uint8_t> box = model.BoxPixels();
    EXPECT_EQ(model.BandMouse(0), usRenderBox | usShowBox | usDrawPalette | usDrawPointer);
    EXPECT_EQ(model.H(), 360);
    EXPECT_NE(model.BoxPixels(), box);
    model.BandMouse(300);
    EXPECT_EQ(model.H(), 0);

    model.ModeChange(cmR);
    model.BandMouse(55);
    EXPECT_EQ(model.CurrentColor(), RGB(200, 40, 40));  // H 0, S 170, V 120 gave (120, 40, 40)
    EXPECT_EQ(model.FieldText(cfHex), "#C82828");
}

TEST(ColorSelectModel, WebSafeSnapsTheResultButNotTheValuesOrPositions)
{
    // Shown with the option on, it applies after the first update.
    TColorSelectModel shown = Shown(RGB(10, 100, 200), true);
    EXPECT_TRUE(shown.WebSafe());
    EXPECT_EQ(shown.Cells()[27], RGB(0, 102, 204));
    EXPECT_EQ(shown.FieldText(cfHex), "#0066CC");
    EXPECT_NE(shown.G(), 102);
    EXPECT_EQ(shown.WebSafeChange(true), 0u);

    TColorSelectModel model = Shown(RGB(40, 80, 120));
    EXPECT_EQ(model.WebSafeChange(true), usRenderBox | usShowBox | usRenderBand | usDrawPalette);
    for (int x = 0; x < 256; x += 37)
        for (int y = 0; y < 256; y += 41) {
            model.BoxMouse(x, y);
            const TColor c = model.CurrentColor();
            ASSERT_TRUE(IsWebSafe(c)) << x << "," << y;
            EXPECT_EQ(model.Cells()[27], c);
            EXPECT_EQ(model.FieldText(cfR), std::to_string(GetRValue(c)));
            EXPECT_EQ(model.UnsnappedColor(), RGB(model.R(), model.G(), model.B()));
        }
    model.BoxMouse(100, 100);
    EXPECT_EQ(model.X(), 100);
    EXPECT_EQ(Hsv(model)[1], 100);
    EXPECT_EQ(Hsv(model)[2], 155);
    const TColor c = model.CurrentColor();
    EXPECT_EQ(model.FieldText(cfV), std::to_string(int(RGBToHSV(GetRValue(c), GetGValue(c), GetBValue(c)).V)));
    EXPECT_NE(model.UnsnappedColor(), c);

    model.WebSafeChange(false);
    EXPECT_EQ(model.CurrentColor(), model.UnsnappedColor());
    EXPECT_EQ(model.FieldText(cfS), "100");
}

TEST(ColorSelectModel, HexFieldLoadsAtSevenCharactersAndKeepsItsText)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    EXPECT_EQ(Type(model, cfHex, "#00ff8"), 0u);
    EXPECT_EQ(model.CurrentColor(), RGB(40, 80, 120));

    EXPECT_EQ(Type(model, cfHex, "#00ff80"), AllSteps);
    EXPECT_EQ(FieldTexts(model), (Texts{"150", "255", "255", "0", "255", "128", "#00ff80"}));
    EXPECT_EQ(model.Cells()[27], RGB(0, 255, 128));
    EXPECT_EQ(model.BandValue(), 106);
    model.ModeChange(cmR);
    EXPECT_EQ(model.FieldText(cfHex), "#00FF80");

    Type(model, cfHex, "XzZ1080");  // the first character is not examined; a bad pair gives 255
    EXPECT_EQ(model.CurrentColor(), RGB(255, 0x10, 0x80));

    for (char ch : std::string("#0123456789ABCDEFabcdef\b")) EXPECT_TRUE(IsHexFieldChar(ch)) << ch;
    for (char ch : std::string("Gg x$-")) EXPECT_FALSE(IsHexFieldChar(ch)) << ch;
}

TEST(ColorSelectModel, NumberFieldsKeepTheirTextTakeTheHueAsTypedAndClampTheRest)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    model.SetFieldText(cfS, "255");
    model.SetFieldText(cfV, "255");
    EXPECT_EQ(Type(model, cfH, "360"), AllSteps);
    EXPECT_EQ(model.H(), 0);
    EXPECT_EQ(FieldTexts(model), (Texts{"360", "255", "255", "255", "0", "0", "#FF0000"}));
    EXPECT_EQ(model.Cells()[27], RGB(255, 0, 0));

    Type(model, cfH, "400");  // past the last sector: HSVToRGB's fallback formula
    EXPECT_EQ(model.H(), 400);
    EXPECT_EQ(model.CurrentColor(), RGB(255, 0, 85));
    EXPECT_EQ(model.BandValue(), 284);

    Type(model, cfS, "300");
    EXPECT_EQ(model.S(), 255);
    EXPECT_EQ(model.FieldText(cfS), "300");
    EXPECT_EQ(Type(model, cfV, ""), 0u);
    EXPECT_EQ(model.V(), 255);

    TColorSelectModel rgb = Shown(RGB(0, 0, 0));
    rgb.SetFieldText(cfG, "0");
    rgb.SetFieldText(cfB, "0");
    EXPECT_EQ(Type(rgb, cfR, "300"), AllSteps);
    EXPECT_EQ(rgb.R(), 255);
    EXPECT_EQ(FieldTexts(rgb), (Texts{"0", "255", "255", "300", "0", "0", "#FF0000"}));
    EXPECT_EQ(Type(rgb, cfB, ""), 0u);
}

TEST(ColorSelectModel, UpDownsStepWithinTheirRange)
{
    TColorSelectModel model = Shown(RGB(255, 0, 0));
    model.SetFieldText(cfH, "360");
    EXPECT_EQ(model.UpDownClick(cfH, 1), AllSteps);
    EXPECT_EQ(model.FieldText(cfH), "0");
    model.UpDownClick(cfH, -1);
    EXPECT_EQ(model.FieldText(cfH), "360");
    EXPECT_EQ(model.H(), 0);

    model.UpDownClick(cfS, 1);
    EXPECT_EQ(model.FieldText(cfS), "255");
    model.SetFieldText(cfS, "300");
    model.UpDownClick(cfS, -1);
    EXPECT_EQ(model.FieldText(cfS), "254");
    model.UpDownClick(cfG, -1);
    EXPECT_EQ(model.FieldText(cfG), "0");
}

TEST(ColorSelectRender, BoxTakesHue360AsZeroAndSnapsWithTheOption)
{
    TColorSelectModel model = Shown(RGB(255, 0, 0));
    const std::vector<std::uint8_t> hue0 = model.BoxPixels();
    model.BandMouse(0);
    ASSERT_EQ(model.H(), 360);
    EXPECT_EQ(model.BoxPixels(), hue0);

    model.WebSafeChange(true);
    for (std::uint8_t c : model.BoxPixels()) ASSERT_EQ(c % 51, 0);
}

TEST(ColorSelectRender, WebSafeBandsFollowTheBoxPositionAndTheSnappedColour)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    model.WebSafeChange(true);
    model.ModeChange(cmR);
    EXPECT_EQ(model.BandRows()[0], RGB(255, 102, 102));  // fixed channels from the snapped (51, 102, 102)
    EXPECT_EQ(model.BandRows()[140], RGB(102, 102, 102));

}

} // namespace
} // namespace pictor
