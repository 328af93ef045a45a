#include "document/ColorLiterals.h"
#include "document/CssColorFunction.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace pictor;
using namespace pictor::test;

namespace {

// Each channel within one step of the other's.
::testing::AssertionResult Near(TColor a, TColor b)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 1)
            return ::testing::AssertionFailure() << std::hex << a << " against " << b;
    return ::testing::AssertionSuccess();
}

// A colour in every space each form can name, all inside sRGB.
const char* const EverySpace[] = {
    "oklch(0.7 0.1 200)",          "oklab(0.5 0.1 -0.1)",          "lab(50 20 -30)",
    "lch(50 30 120)",               "hwb(120 10% 20%)",             "color(srgb 0.2 0.4 0.6)",
    "color(srgb-linear 0.2 0.4 0.6)", "color(display-p3 0.3 0.5 0.7)", "color(rec2020 0.4 0.5 0.6)",
    "color(a98-rgb 0.3 0.5 0.7)",   "color(prophoto-rgb 0.4 0.45 0.5)", "color(xyz 0.2 0.2 0.2)",
    "color(xyz-d50 0.2 0.2 0.15)",  "OKLCH(0.6 0.1 200 / 50%)",     "lab(50 20 -30 / var(--a))",
};

} // namespace

// What Chromium paints for each on an sRGB canvas.
TEST(CssColorSpaces, ValuedAsABrowserPaintsThem)
{
    const std::pair<const char*, TColor> cases[] = {
        {"oklch(0.628 0.2577 29.23)", RGB(255, 0, 0)},     {"oklch(62.8% 0.2577 29.23deg)", RGB(255, 0, 0)},
        {"oklab(50% 25% -25%)", RGB(129, 69, 154)},         {"lab(50 20 -30)", RGB(133, 108, 170)},
        {"lab(50% 20% -30%)", RGB(135, 105, 183)},          {"lch(50 30 120)", RGB(105, 126, 73)},
        {"lch(70 40 0.5turn)", RGB(63, 191, 169)},          {"hwb(120 10% 20%)", RGB(26, 204, 26)},
        {"hwb(200 30 40)", RGB(77, 128, 153)},              {"hwb(0 60% 60%)", RGB(128, 128, 128)},
        {"color(srgb-linear 0.2 0.4 0.6)", RGB(124, 170, 203)}, {"color(display-p3 0.3 0.5 0.7)", RGB(57, 129, 183)},
        {"color(a98-rgb 0.3 0.5 0.7)", RGB(29, 128, 182)},  {"oklch(0.5 0.1 none)", RGB(144, 73, 97)},
        {"lch(50 -10 20)", RGB(119, 119, 119)},             {"color( srgb /**/ 0.2 0.4 0.6 )", RGB(51, 102, 153)},
    };
    for (const auto& [text, color] : cases) {
        const TColorValue value = ReadSpaceColorText(text);
        EXPECT_TRUE(Near(value.Color, color)) << text;
        EXPECT_EQ(value.AlphaForm, TAlphaForm::OwnSpace);
    }
    for (const char* dropped : {"oklch(0.5, 0.1, 200)", "lab(50 20)", "hwb(120, 10%, 20%)", "color(foo 1 2 3)",
                                "lab(50 20 30 40)", "lch(50 30 1px)", "oklch(var(--l) 0.1 200)", "color(srgb 1 2 3 /)"})
        EXPECT_FALSE(ParseCssSpaceColor(dropped)) << dropped;
    EXPECT_EQ(ReadSpaceColorText("oklch(0.6 0.1 200 / 50%)").Alpha, "50%");
}

// Beyond sRGB a colour is shown as the gamut mapping of CSS maps it: chroma lowered at its lightness
// and hue, not each channel clipped.
TEST(CssColorSpaces, WideGamutIsMappedNotClipped)
{
    const TColor p3Red = ReadSpaceColorText("color(display-p3 1 0 0)").Color;
    EXPECT_EQ(GetRValue(p3Red), 255);
    EXPECT_GT(GetGValue(p3Red), 0) << "a clip would give (255, 0, 0)";
    EXPECT_EQ(ReadSpaceColorText("oklch(1.2 0.3 100)").Color, RGB(255, 255, 255));
    EXPECT_EQ(ReadSpaceColorText("lab(0 50 50)").Color, RGB(0, 0, 0));
}

// A colour written back keeps its function's spacing.
TEST(CssColorSpaces, WrittenInTheFormRead)
{
    EXPECT_EQ(WriteCssSpaceColor("color( display-p3 1 1 1)", {1, 1, 1}), "color( display-p3 1 1 1)");
}

// An invert paints the exact inverse and writes the same function and space; a second gives back the
// value: a wrong matrix shows here.
TEST(CssColorSpaces, TwoInvertsInEverySpace)
{
    for (const char* text : EverySpace) {
        TSite site;
        THtmlStructure doc = site.OpenPage("", std::string("a{color:") + text + "}");
        TColorRecord& record = doc.GetSheet(0).Colors.at(0);
        const TColor before = record.Color;
        Change(doc, TAdjustment::Invert());
        const std::string_view name(text);
        const std::string head(name.substr(0, name.starts_with("color(") ? name.find(' ') : name.find('(') + 1));
        EXPECT_EQ(record.Text.substr(0, head.size()), head) << record.Text;
        EXPECT_TRUE(Near(record.Color, RGB(255 - GetRValue(before), 255 - GetGValue(before), 255 - GetBValue(before))))
            << text << " -> " << record.Text;
        EXPECT_TRUE(Near(ReadSpaceColorText(record.Text).Color, record.Color)) << record.Text;
        Change(doc, TAdjustment::Invert());
        EXPECT_EQ(record.Color, before) << text << " -> " << record.Text;
        const auto original = ParseCssSpaceColor(text), twice = ParseCssSpaceColor(record.Text);
        ASSERT_TRUE(twice) << record.Text;
        for (size_t k = 0; k < 3; ++k) EXPECT_NEAR(twice->Coordinates[k], original->Coordinates[k], 1e-5) << record.Text;
        EXPECT_EQ(twice->Alpha, original->Alpha) << record.Text;
        EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)), "a{color:" + record.Text + "}");
    }
}

// An invert of a colour beyond sRGB stays beyond it, as far as its own space goes.
TEST(CssColorSpaces, WideGamutKeepsItsChroma)
{
    TSite site;
    THtmlStructure doc = site.OpenPage("", "a{color:color(display-p3 0.1 0.8 0.2)}");
    Change(doc, TAdjustment::Invert());
    const auto inverted = ParseCssSpaceColor(doc.GetSheet(0).Colors[0].Text);
    ASSERT_TRUE(inverted);
    const TTriple srgb = SpaceToSrgb(inverted->Space, inverted->Coordinates);
    EXPECT_TRUE(srgb[0] > 1 || srgb[1] < 0 || srgb[2] > 1) << "outside sRGB, as the original was";
    Change(doc, TAdjustment::NewColorOf(RGB(10, 20, 30)));
    EXPECT_TRUE(Near(doc.GetSheet(0).Colors[0].Color, RGB(10, 20, 30)));
    EXPECT_EQ(doc.GetSheet(0).Colors[0].Text.substr(0, 17), "color(display-p3 ");
}
