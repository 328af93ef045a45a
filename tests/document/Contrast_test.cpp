#include "document/ChannelVariables.h"
#include "document/ColorPairs.h"
#include "document/Contrast.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace pictor;
using test::ScannedPage;

TEST(Contrast, RatioAndItsText)
{
    struct {
        TColor Foreground, Background;
        double Ratio;
        const char* Text;
    } const cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), 21.0, "21.00"},
        {RGB(255, 255, 255), RGB(0, 0, 0), 21.0, "21.00"},
        {RGB(0x77, 0x77, 0x77), RGB(255, 255, 255), 4.478089453577214, "4.47"},  // rounded down, not up
        {RGB(0x76, 0x76, 0x76), RGB(255, 255, 255), 4.542224959605253, "4.54"},  // the lightest grey passing
        {RGB(255, 0, 0), RGB(0, 0, 0), 5.252, "5.25"},
        {RGB(10, 20, 30), RGB(10, 20, 30), 1.0, "1.00"},
    };
    for (const auto& c : cases) {
        const double ratio = ContrastRatio(c.Foreground, c.Background);
        EXPECT_NEAR(ratio, c.Ratio, 1e-3) << c.Text;
        EXPECT_EQ(ContrastRatioText(ratio), c.Text);
    }
}

TEST(Contrast, LinearBelowTheThreshold)
{
    // 0.04 lies between the older 0.03928 threshold and 0.04045: still on the linear part.
    EXPECT_DOUBLE_EQ(RelativeLuminance(0.04, 0.04, 0.04), 0.04 / 12.92);
}

TEST(Contrast, AlphaSeenOverWhiteThenOverTheBackground)
{
    const TColor black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    EXPECT_DOUBLE_EQ(ContrastRatio(black, 255, black, 0), 21.0);  // a clear background is white
    EXPECT_DOUBLE_EQ(ContrastRatio(black, 0, white, 255), 1.0);   // clear text is its background
    EXPECT_NEAR(ContrastRatio(black, 128, white, 255), ContrastRatio(RGB(127, 127, 127), white), 1e-12);
    // Text over a veiled background is seen over the veil, not over white.
    EXPECT_NEAR(ContrastRatio(black, 128, black, 128), ContrastRatio(RGB(63, 63, 63), RGB(127, 127, 127)), 0.05);
    EXPECT_NEAR(ContrastRatio(white, 255, black, 128), ContrastRatio(white, RGB(127, 127, 127)), 1e-12);
}

// The pairs of each page, as the texts of their two occurrences, among the records of its channel lists.
TEST(ColorPairs, DeclaredTogether)
{
    using TPairs = std::vector<std::pair<std::string, std::string>>;
    const std::pair<std::string, TPairs> cases[] = {
        {"<body bgcolor=\"white\" text=\"black\" link=\"blue\" vlink=\"#777\" alink=\"red\">",
         {{"black", "white"}, {"blue", "white"}, {"#777", "white"}, {"red", "white"}}},
        {"<body text=\"black\">", {}},
        {"<body bgcolor=\"\" text=\"black\">", {}}, // ignored by a browser
        {"<bodyx bgcolor=\"white\" text=\"black\">", {}},
        {"<p style=\"background: url(a.png) #fff; color:#000\">", {{"#000", "#fff"}}},
        {"<p style=\"color:#000;background:linear-gradient(#fff,#eee)\">", {}},
        {"<p style=\"color:#000\"><q style=\"background:#fff\">", {}},
        {"<style>p{color:red;background-color:blue} q{color:green}</style>", {{"red", "blue"}}},
        {"<style>p{color:red;color:blue;background:white;background-color:navy}</style>", {{"blue", "navy"}}},
        {"<style>@media print{a{color:red; b{color:lime;background:navy} background-color:white}}</style>",
         {{"red", "white"}, {"lime", "navy"}}},
        {"<style>p { --c: 1 2 3; color: #000; background-color: #fff; border-color: rgb(var(--c)) }</style>",
         {{"#000", "#fff"}}},
    };
    for (const auto& [html, pairs] : cases) {
        THtmlStructure document = ScannedPage(html);
        AddChannelColors(document);
        TPairs found;
        for (const TColorPair& pair : FindColorPairs(document.Page))
            found.emplace_back(document.Page.Colors[pair.Foreground].Text, document.Page.Colors[pair.Background].Text);
        EXPECT_EQ(found, pairs) << html;
    }
}

TEST(ColorPairs, RatioBeforeAndAfter)
{
    THtmlStructure document = ScannedPage("<style>p { color: rgba(0, 0, 0, 0.5); background: #fff }</style>");
    document.Page.Colors[1].Color = RGB(0, 0, 0);
    const auto pairs = FindColorPairs(document.Page);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_NEAR(pairs[0].Before, ContrastRatio(RGB(127, 127, 127), RGB(255, 255, 255)), 0.02);
    EXPECT_DOUBLE_EQ(pairs[0].After, 1.0);
}
