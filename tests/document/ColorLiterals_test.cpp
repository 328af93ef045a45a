#include "document/ColorLiterals.h"
#include "document/CssColorFunction.h"
#include "document/CssColorNames.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace pictor;

// The program's own reading of colour text, odd cases included: pages saved by it depend on them.
TEST(ColorLiterals, TextToColor)
{
    const std::pair<const char*, TColor> cases[] = {
        {"#ffcc00", RGB(255, 204, 0)}, {"# ff cc 00", RGB(255, 204, 0)}, {"#fc0", RGB(255, 204, 0)},
        {"#ffcc0", 0}, {"#GG0000", RGB(255, 0, 0)}, {"#", 0}, {"#\tffcc00", 0},  // only spaces are removed
        {"rgb(50,100%,0)", RGB(127, 255, 0)},  // one % makes every component a percentage
        {"rgb(300,0,0)", RGB(44, 0, 0)}, {"rgb(-1,0,0)", RGB(255, 0, 0)},
        {"rgb(1,2,3", RGB(1, 2, 0)},  // an unterminated component stays 0
        {"RED", RGB(255, 0, 0)}, {"blackish", RGB(0, 0, 0)}, {"green", RGB(0, 128, 0)},
        {"transparent", RGB(0, 128, 128)},  // not a CSS name: the first letter decides
        {"none", RGB(0, 0, 128)}, {"", 0}};
    for (const auto& [text, color] : cases) EXPECT_EQ(TextToColor(text), color) << text;
    for (const auto& named : NamedColors) EXPECT_EQ(TextToColor(named.Name), named.Color) << named.Name;
}

TEST(ColorLiterals, RgbNotANumberNamesTheText)
{
    for (const char* bad : {"rgb(a,b,c)", "rgb(,0,0)", "rgb(1x%,0,0)"})
        EXPECT_NE(std::string(test::ErrorOf([&] { TextToColor(bad); }).what()).find(bad), std::string::npos) << bad;
}

// Every form CSS gives a colour in: the value it computes, and the alpha as written.
TEST(ColorLiterals, CssForms)
{
    struct TCase {
        const char* Text;
        TColor Color;
        TAlphaForm Form;
        const char* Alpha;
    };
    const TCase cases[] = {
        {"#0969da80", RGB(9, 105, 218), TAlphaForm::Hex, "80"},
        {"#ABCD", RGB(0xAA, 0xBB, 0xCC), TAlphaForm::Hex, "DD"},
        {"rgb(249,236.1,234.1)", RGB(249, 236, 234), TAlphaForm::None, ""},
        {"rgb(1e2, 0, 0)", RGB(100, 0, 0), TAlphaForm::None, ""},
        {"rgb(0 0 0 / 50%)", 0, TAlphaForm::Function, "50%"},
        {"rgb(100% 50% 0%)", RGB(255, 128, 0), TAlphaForm::None, ""},  // rounded, unlike the comma form
        {"rgb(none 300 -5)", RGB(0, 255, 0), TAlphaForm::None, ""},     // clamped, unlike the comma form
        {"rgb(1,2,3,0.5)", RGB(1, 2, 3), TAlphaForm::Function, "0.5"},
        {"rgba(13, 110, 253, .25)", RGB(13, 110, 253), TAlphaForm::Function, ".25"},
        {"hsl(0.5turn 100% 50%)", RGB(0, 255, 255), TAlphaForm::None, ""},
        {"hsl(200grad 100% 25%)", RGB(0, 128, 128), TAlphaForm::None, ""},
        {"hsl(3.14159rad 100% 50%)", RGB(0, 255, 255), TAlphaForm::None, ""},
        {"hsla(240deg, 100%, 50%, .3)", RGB(0, 0, 255), TAlphaForm::Function, ".3"},
        {"HSL(-120 100 50 / 1)", RGB(0, 0, 255), TAlphaForm::Function, "1"},
        {"rgb(10 /* ) */ 20 30 /**/ / /**/ 50%)", RGB(10, 20, 30), TAlphaForm::Function, "50%"},
    };
    for (const TCase& c : cases) {
        const TColorValue value = ReadColorText(c.Text);
        EXPECT_EQ(value.Color, c.Color) << c.Text;
        EXPECT_EQ(value.AlphaForm, c.Form) << c.Text;
        EXPECT_EQ(value.Alpha, c.Alpha) << c.Text;
    }
    for (const auto& named : CssNamedColors) EXPECT_EQ(TextToColor(named.Name), named.Color) << named.Name;
}

// What Chromium's CSS.supports('color', text) answers.
TEST(ColorLiterals, FunctionsCssTakes)
{
    const std::pair<const char*, bool> cases[] = {
        {"rgb(10%,20,30)", false},      {"rgb(10% 20 30)", true},          {"rgb(1,2,3,4,5)", false},
        {"rgb(1px,2,3)", false},        {"rgb(1,2)", false},               {"rgb(10 20 30 40)", false},
        {"hsl(120,100,50)", false},     {"hsl(120 100 50)", true},         {"rgb(10, /* note */ 20, 30)", true},
        {"rgb(10 20 30 / none)", true}, {"rgba(10, 20, 30, none)", false}, {"rgb(none,2,3)", false},
        {"rgb(1,2,3,)", false},         {"hsl(120deg,100%,50%,.5)", true}, {"rgb(300,0,0)", true},
        {"rgb(1 2 3 /)", false},        {"rgb(1,2,3,50%)", true},          {"rgb(1 2 3 / 50% )", true},
        {"hsl(120, 100%, 50)", false},  {"rgba(1,2,3)", true},             {"hsla(1 2% 3%)", true},
        {"rgb( 1 , 2 , 3 )", true},     {"rgb(1.5,2,3)", true},            {"rgb(+1,2,3)", true},
        {"hsl(1,1%,1%,1%)", true},      {"rgb(a,b,c)", false},             {"rgb(1 2 3/.5)", true},
    };
    for (const auto& [text, takes] : cases) EXPECT_EQ(ParseCssColorFunction(text).has_value(), takes) << text;
}

TEST(ColorLiterals, WrittenWithAlphaKept)
{
    // Codes with and without alpha are the rewrite tests'; the lower-case option is pictor-cli's.
    // Only a number, percentage or a function giving one may stand after the commas: "none" needs the slash.
    const std::pair<const char*, const char*> written[] = {
        {".5", "rgba(1, 2, 3, .5)"},          {"-1", "rgba(1, 2, 3, -1)"},
        {"1e-1", "rgba(1, 2, 3, 1e-1)"},      {"none", "rgb(1 2 3 / none)"},
        {"NONE", "rgb(1 2 3 / NONE)"},        {"inf", "rgb(1 2 3 / inf)"},
        {"var(--a)", "rgba(1, 2, 3, var(--a))"}, {"calc(1 / 2)", "rgba(1, 2, 3, calc(1 / 2))"},
    };
    for (const auto& [alpha, text] : written) EXPECT_EQ(ColorToText(RGB(1, 2, 3), TAlphaForm::Function, alpha, false), text);

    const std::tuple<TAlphaForm, const char*, int> alphas[] = {
        {TAlphaForm::None, "", 255}, {TAlphaForm::Hex, "80", 128}, {TAlphaForm::Function, ".25", 64},
        {TAlphaForm::Function, "50%", 128}, {TAlphaForm::Function, "2", 255}, {TAlphaForm::Function, "none", 0}};
    for (const auto& [form, alpha, byte] : alphas) EXPECT_EQ(AlphaToByte(form, alpha), byte) << alpha;

    for (const char* ignored : {"", " ", "Transparent"}) EXPECT_TRUE(IsIgnoredColorAttribute(ignored)) << ignored;
    EXPECT_FALSE(IsIgnoredColorAttribute("red"));
}
