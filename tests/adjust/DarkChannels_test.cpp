#include "adjust/DarkContrast.h"
#include "document/ChannelLists.h"
#include "document/ChannelVariables.h"
#include "document/CssColorFunction.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace pictor {
namespace {

THtmlStructure PageWithChannels(const std::string& style)
{
    THtmlStructure page = test::ScannedPage("<style>" + style + "</style>", ccUtf8);
    AddChannelColors(page);
    return page;
}

THtmlStructure DarkPage(const std::string& style)
{
    THtmlStructure page = PageWithChannels(style);
    ApplyToTickedColors(page, TAdjustment::Dark(), false);
    return page;
}

const TColorRecord& RecordOf(const THtmlStructure& page, const std::string& orgText)
{
    static const TColorRecord none;
    for (const TColorRecord& r : page.Page.Colors)
        if (r.OrgText == orgText) return r;
    ADD_FAILURE() << "no record " << orgText;
    return none;
}

TTriple OklchOfHsl(double h, double s, double l) { return SrgbToSpace(TColorSpace::Oklch, HslToSrgb(h, s / 100, l / 100)); }

// An oklch() colour and daisyUI's channel lists, whole oklch colours: lightness mirrored exactly, hue
// kept, chroma lowered only as far as sRGB needs (the dark adjustment's own gamut mapping), written in
// their own space. The first's dark colour lies beyond sRGB: a screen would clip it, turning its hue.
TEST(DarkChannels, OklchColourOrListMirroredInItsOwnSpace)
{
    const struct {
        const char* Written;
        double L, C, H;
    } cases[] = {
        {"oklch(0.7 0.15 150)", 0.7, 0.15, 150},
        {"49.12% 0.3096 275.75", 0.4912, 0.3096, 275.75},
        {"76.76% 0.184 183.61", 0.7676, 0.184, 183.61},
        {"0.9451 0.179 104.32", 0.9451, 0.179, 104.32},
        {"20% 0.02 250", 0.20, 0.02, 250},
    };
    const auto inSrgb = [](const TTriple& oklch) {
        const TTriple srgb = SpaceToSrgb(TColorSpace::Oklch, oklch);
        return std::all_of(srgb.begin(), srgb.end(), [](double v) { return v >= -1e-4 && v <= 1 + 1e-4; });
    };
    for (const auto& c : cases) {
        const bool list = !std::string_view(c.Written).starts_with("oklch(");
        const THtmlStructure page =
            DarkPage(list ? std::string(":root{--p: ") + c.Written + "}.a{color:oklch(var(--p))}"
                          : std::string(".a{color:") + c.Written + "}");
        const TColorRecord& r = RecordOf(page, c.Written);
        const auto css = ParseCssSpaceColor(list ? "oklch(" + r.Text + ")" : r.Text);
        ASSERT_TRUE(css) << r.Text;
        EXPECT_EQ(css->Space, TColorSpace::Oklch);
        const TTriple& oklch = css->Coordinates;
        EXPECT_NEAR(oklch[0], DarkLightness(c.L, {}), 1e-6) << r.Text;
        EXPECT_NEAR(oklch[2], c.H, 1e-3) << r.Text;
        EXPECT_TRUE(inSrgb(oklch)) << r.Text;
        EXPECT_LE(oklch[1], c.C + 1e-9) << r.Text;
        // Lowered, yet a little more chroma would still be in sRGB.
        EXPECT_FALSE(oklch[1] < c.C - 1e-6 && inSrgb({oklch[0], oklch[1] + 0.01, oklch[2]})) << r.Text;
    }
}

// Bulma's one-channel colours: the hue and saturation variables stay, so every colour built from them
// keeps its hsl() hue; the lightness variable becomes the one whose colour has the mirrored oklch
// lightness; a number added to the lightness changes by what it adds there. What is not exact: oklch hue
// drifts with hsl() lightness, yet the first's, a mid-lightness blue's, by few degrees.
TEST(DarkChannels, OneChannelSetKeepsHueAndMirrorsLightness)
{
    const struct {
        const char *H, *S, *L;
    } cases[] = {{"233", "100", "63"}, {"221", "14", "21"},  {"171", "100", "41"},
                 {"42", "100", "53"},  {"221", "14", "100"}, {"0", "0", "30"}};
    for (const auto& c : cases) {
        const std::string h = c.H + std::string("deg"), s = c.S + std::string("%"), l = c.L + std::string("%");
        const THtmlStructure page = DarkPage(":root{--h: " + h + "; --s: " + s + "; --l: " + l + "; --d: -5%}" +
                                             ".a{color:hsl(var(--h), var(--s), var(--l))}"
                                             ".b{color:hsl(var(--h), var(--s), calc(var(--l) + var(--d)))}");
        const double hue = std::stod(c.H), saturation = std::stod(c.S), lightLightness = std::stod(c.L);
        const std::string name = h + " " + s + " " + l;
        EXPECT_EQ(RecordOf(page, h).Text, h) << name;
        EXPECT_EQ(RecordOf(page, s).Text, s) << name;
        const auto lightness = ChannelNumber(RecordOf(page, l).Text);
        ASSERT_TRUE(lightness) << name;
        const TTriple light = OklchOfHsl(hue, saturation, lightLightness),
                      dark = OklchOfHsl(hue, saturation, *lightness);
        // Exact, with the first use's hue and saturation as written; and listed as the browser paints it.
        EXPECT_NEAR(dark[0], DarkLightness(light[0], {}), 0.001) << name;
        const auto painted = ParseCssColorFunction("hsl(" + h + " " + s + " " + RecordOf(page, l).Text + ")");
        ASSERT_TRUE(painted) << name;
        EXPECT_EQ(RecordOf(page, l).Color, painted->Color) << name;
        EXPECT_TRUE(&c != &cases[0] || std::fabs(light[2] - dark[2]) < 3) << name;
        // The delta: hover five points darker becomes about as much lighter.
        const auto delta = ChannelNumber(RecordOf(page, "-5%").Text);
        ASSERT_TRUE(delta) << name;
        const TTriple darkHover = OklchOfHsl(hue, saturation, *lightness + *delta);
        const TTriple lightHover = OklchOfHsl(hue, saturation, lightLightness - 5);
        EXPECT_NEAR(darkHover[0], DarkLightness(lightHover[0], {}), 0.01) << name;
        EXPECT_GT(darkHover[0], dark[0]) << name;
    }
}

// A hue variable is never nudged for contrast: it would turn every colour built from it.
TEST(DarkChannels, OnlyTheLightnessVariableIsNudged)
{
    THtmlStructure page = PageWithChannels(":root{--h: 233; --s: 100%; --l: 55%}.a{color:hsl(var(--h), var(--s), var(--l))}");
    const auto nudged = ApplyDarkColors(page, TAdjustment::Dark(), false);
    ASSERT_FALSE(nudged.empty());
    EXPECT_EQ(RecordOf(page, "233").Text, "233");
    EXPECT_EQ(RecordOf(page, "100%").Text, "100%");
    for (const TNudgedPair& n : nudged) {
        const TColorRecord& r = page.Page.Colors[n.Foreground];
        EXPECT_EQ(r.Channels.Channel, 2) << r.OrgText;
        EXPECT_TRUE(n.Held);
        // The colour the record says is the one hsl() paints with its lightness.
        const auto lightness = ChannelNumber(r.Text);
        ASSERT_TRUE(lightness);
        const TColor painted = SrgbToDisplay(HslToSrgb(233, 1, *lightness / 100));
        EXPECT_LE(std::abs(GetRValue(r.Color) - GetRValue(painted)), 1);
        EXPECT_LE(std::abs(GetGValue(r.Color) - GetGValue(painted)), 1);
        EXPECT_LE(std::abs(GetBValue(r.Color) - GetBValue(painted)), 1);
    }
}

} // namespace
} // namespace pictor
