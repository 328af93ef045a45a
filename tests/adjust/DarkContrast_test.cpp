#include "adjust/DarkContrast.h"
#include "document/ChannelVariables.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "document/CssColorFunction.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>

namespace pictor {
namespace {

using test::ScannedPage;

// Pairs the mirror alone takes below their level: greys just at AA and AAA (the mirror is not symmetric
// in luminance), a light text on a dark blue, a link on white.
TEST(DarkContrast, PairsThatNeedNudgingKeepTheirLevel)
{
    const std::string html = "<style>"
                             ".a{color:#767676;background-color:#fff}"
                             ".b{color:#595959;background:#ffffff}"
                             ".c{color:#fff;background-color:#0645ad}"
                             ".d{color:rgb(255 215 0);background-color:#000080}"
                             ".e{color:oklch(0.6 0.1 250);background-color:#fff}"
                             ".f{color:#000;background-color:#fff}"
                             "</style><body bgcolor=\"#ffffff\" link=\"#0000ee\">";
    THtmlStructure page = ScannedPage(html);
    const TAdjustment dark = TAdjustment::Dark();
    // What the mirror alone gives.
    THtmlStructure mirroredOnly = ScannedPage(html);
    ApplyToTickedColors(mirroredOnly, dark, false);
    int below = 0;
    for (const TColorPair& pair : FindColorPairs(mirroredOnly.Page))
        below += ContrastLevel(pair.After) < ContrastLevel(pair.Before);
    ASSERT_GE(below, 5);

    const auto nudged = ApplyDarkColors(page, dark, false);
    EXPECT_EQ(int(nudged.size()), below);
    for (const TNudgedPair& n : nudged) {
        EXPECT_TRUE(n.Held);
        // The least nudge that holds with a margin of 4 %: a step of lightness moves the ratio little.
        EXPECT_GE(n.After, LevelRatio(ContrastLevel(n.Before)) * 1.04);  // a margin for nearby backgrounds
        EXPECT_LT(n.After, LevelRatio(ContrastLevel(n.Before)) * 1.1);
    }
    for (const TColorPair& pair : FindColorPairs(page.Page)) {
        const std::string name = page.Page.Colors[pair.Foreground].Text + " on " + page.Page.Colors[pair.Background].Text;
        EXPECT_GE(ContrastLevel(pair.After), ContrastLevel(pair.Before)) << name;
    }
    // Written in their own notation, text first moved and lighter than its dark background.
    EXPECT_EQ(page.Page.Colors[0].Text.front(), '#');
    EXPECT_TRUE(page.Page.Colors[8].Text.starts_with("oklch(")) << page.Page.Colors[8].Text;
    // With its hue as written, not as an 8-bit colour has it.
    const auto oklch = ParseCssSpaceColor(page.Page.Colors[8].Text);
    ASSERT_TRUE(oklch);
    EXPECT_DOUBLE_EQ(oklch->Coordinates[2], 250) << page.Page.Colors[8].Text;
    EXPECT_EQ(page.Page.Colors[1].Color, DarkColor(RGB(255, 255, 255), {}));
    // Black on white needs nothing: its mirror stays far above AAA.
    EXPECT_EQ(page.Page.Colors[10].Color, DarkColor(RGB(0, 0, 0), {}));
}

TEST(DarkContrast, UntickedColoursStayAndTheBackgroundMovesWhenTheTextCannot)
{
    THtmlStructure page = ScannedPage("<style>.a{color:#767676;background-color:#fff}</style>");
    page.Page.Colors[0].Checked = false;  // the text stays as it is
    const auto nudged = ApplyDarkColors(page, TAdjustment::Dark(), false);
    ASSERT_EQ(nudged.size(), 1u);
    EXPECT_TRUE(nudged[0].Held);
    EXPECT_EQ(page.Page.Colors[0].Text, "#767676");
    // Darker than white's mirror, as far as AA needs.
    EXPECT_LT(OklchLightness(page.Page.Colors[1].Color), OklchLightness(DarkColor(RGB(255, 255, 255), {})));
    EXPECT_GE(ContrastRatio(page.Page.Colors[0].Color, page.Page.Colors[1].Color), 4.5);
}

// Pico's muted text, as a colour and through a custom property: AA on white, 3.6 once mirrored onto
// what white becomes.
TEST(DarkContrast, ColoursOfNoPairKeepTheirLevelOnThePageBackground)
{
    THtmlStructure page = ScannedPage("<style>small{color:#646b79}:root{--muted:#646b79}p{color:#fff}"
                                 ".b{background-color:#646b79}</style>");
    const auto nudged = ApplyDarkColors(page, TAdjustment::Dark(), false);
    ASSERT_EQ(nudged.size(), 2u);
    const TColor canvas = DarkColor(RGB(255, 255, 255), {});
    for (size_t n = 0; n < 2; ++n) {
        EXPECT_EQ(nudged[n].Foreground, n);
        EXPECT_EQ(nudged[n].Background, PageBackgroundRecord);
        EXPECT_LT(nudged[n].Mirrored, 4.5);
        EXPECT_GE(ContrastRatio(page.Page.Colors[n].Color, canvas), 4.5);
    }
    // White was no text on white: it is only mirrored, and so is a background.
    EXPECT_EQ(page.Page.Colors[2].Color, canvas);
    EXPECT_EQ(page.Page.Colors[3].Color, DarkColor(RGB(0x64, 0x6b, 0x79), {}));
}

// chota's grey is text on the page, text on black and the background of white: no one lightness keeps
// all three once mirrored. A later pair moves it only as far as the levels kept before allow, so the
// page's many texts keep theirs; what is reported is what is written.
TEST(DarkContrast, AColourSharedByPairsKeepsTheLevelsKeptBefore)
{
    THtmlStructure page = ScannedPage("<style>:root{--grey:#747681}.tag{color:var(--grey)}"
                                      ".on-black{color:var(--grey);background-color:#000}"
                                      ".button{color:#fff;background-color:var(--grey)}</style>");
    const auto nudged = ApplyDarkColors(page, TAdjustment::Dark(), false);
    const TColor canvas = DarkColor(RGB(255, 255, 255), {});
    EXPECT_GE(ContrastRatio(page.Page.Colors[0].Color, canvas), 4.5);
    ASSERT_FALSE(nudged.empty());
    for (const TNudgedPair& n : nudged) {
        EXPECT_EQ(n.ForegroundColor, page.Page.Colors[n.Foreground].Color);
        EXPECT_EQ(n.BackgroundColor,
                  n.Background == PageBackgroundRecord ? canvas : page.Page.Colors[n.Background].Color);
    }
}

// normalize.css makes fields and buttons take the page's text, and in the dark scheme the browser paints
// them a grey lighter than the page: the text keeps its level there too. Without such a rule the fields
// keep their own text and the page's text its mirror.
TEST(DarkContrast, ThePagesTextKeepsItsLevelOnTheFieldsAndButtonsThatTakeIt)
{
    const std::string page = "body{color:#333;background-color:#fff}";
    for (const bool inherit : {true, false}) {
        THtmlStructure site =
            ScannedPage("<style>" + page + (inherit ? "button,input{color:inherit}" : "") + "</style>");
        const auto nudged = ApplyDarkColors(site, TAdjustment::Dark(), false);
        const TColor text = site.Page.Colors[0].Color;
        for (const TBrowserGround& ground : BrowserGrounds) {
            const bool kept = std::any_of(nudged.begin(), nudged.end(),
                                          [&](const TNudgedPair& n) { return n.Background == ground.Record; });
            EXPECT_EQ(kept, inherit) << ground.Where;
            EXPECT_EQ(ContrastRatio(text, ground.Dark) >= 4.5, inherit) << ground.Where;
        }
    }
}

// UIkit's dark sections: white at 50 % on #222 reaches AA, and no mirrored pair does (black at 50 % on
// white is 4.0). The band and the light texts on it keep their colours; a dark text on the band is no part
// of it. A light band with dark text is mirrored as ever.
TEST(DarkContrast, ADarkBandWhoseLightTextHasAlphaStaysDark)
{
    THtmlStructure page =
        ScannedPage("<style>.band{background-color:#222}.band a{color:rgba(255,255,255,.5)}"
                    ".band b{color:#fff}.card{background-color:#eee}.card a{color:rgba(0,0,0,.7)}</style>");
    const auto nudged = ApplyDarkColors(page, TAdjustment::Dark(), false);
    for (const std::size_t k : {0u, 1u, 2u}) EXPECT_EQ(page.Page.Colors[k].Text, page.Page.Colors[k].OrgText) << k;
    EXPECT_NE(page.Page.Colors[3].Color, page.Page.Colors[3].OrgColor);
    for (const TNudgedPair& n : nudged) EXPECT_TRUE(n.Held) << n.Foreground << " on " << n.Background;
}

// Texts and backgrounds of different rules or through custom properties, each painted with the alpha of
// its use, a background with alpha seen over the page: a navbar item's white on its navbar's mid blue, a
// focused button's white on the button's blue, an alert's text at 90 %; Bootstrap's floating label (a
// channel list at 65 % on the page), daisyUI's page text on a utility's background at 80 %, a button's
// two colours, a text at 70 % of its own; Bulma's page text on a background of hsl() variables. Each
// stays at its level, whatever else moved. The records: text, its alpha, background (or the page), its alpha.
TEST(DarkContrast, PairsByDifferentRulesOrCustomPropertiesKeepTheirLevel)
{
    constexpr std::size_t Page = PageBackgroundRecord;
    const struct {
        const char* Style;
        std::size_t Text;
        int TextAlpha;
        std::size_t Background;
        int BackgroundAlpha;
    } cases[] = {
        {".navbar.is-link{background-color:#485fc7}.navbar.is-link .navbar-item{color:#fff}", 1, 255, 0, 255},
        {".button.is-link{background-color:#485fc7;color:#fff}.button.is-link.is-focused{color:#fff}", 2, 255, 0, 255},
        {".tooltip{color:#fff}.tooltip{background-color:rgba(180,30,45,.9)}", 0, 255, 1, 230},
        {":root{--body-rgb:33,37,41}.form-floating>label{color:rgba(var(--body-rgb),.65)}", 0, 166, Page, 255},
        {":root{--bc:27.8% 0.03 257;--su:64.8% 0.15 160}:root{color:oklch(var(--bc)/1)}"
         ".bg-success\\/80{background-color:oklch(var(--su)/.8)}",
         0, 255, 1, 204},
        {":root{--suc:25% 0.05 160;--su:70% 0.15 160}"
         ".btn-success{background-color:oklch(var(--su)/1);color:oklch(var(--suc)/1)}",
         0, 255, 1, 255},
        {":root{--p:49.12% 0.3096 275.75}.text-primary\\/70{color:oklch(var(--p)/.7)}", 0, 179, Page, 255},
        {":root{--h:171;--s:100%;--l:41%}body{color:#4a4a4a}"
         ".has-background-primary{background-color:hsl(var(--h),var(--s),var(--l))}",
         3, 255, 2, 255},
    };
    const TColor canvas = DarkColor(RGB(255, 255, 255), {});
    for (const auto& c : cases) {
        THtmlStructure page = ScannedPage(std::string("<style>") + c.Style + "</style>");
        AddChannelColors(page);
        const TColorRecord& text = page.Page.Colors[c.Text];
        const TColorRecord* background = c.Background == Page ? nullptr : &page.Page.Colors[c.Background];
        const auto ratio = [&](TColor over) {
            return ContrastRatioOver(text.Color, c.TextAlpha, background ? background->Color : over, c.BackgroundAlpha,
                                     over);
        };
        const int level = ContrastLevel(ratio(RGB(255, 255, 255)));
        ASSERT_GE(level, 2) << c.Style;
        ApplyDarkColors(page, TAdjustment::Dark(), false);
        EXPECT_GE(ContrastLevel(ratio(canvas)), level)
            << c.Style << ": " << text.Text << " on " << (background ? background->Text : "the page");
    }
}

} // namespace
} // namespace pictor
