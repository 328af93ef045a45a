#include "document/ColorLiterals.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

using namespace pictor;

// The program's own reading of colour text, odd cases included: pages saved by it depend on them.
TEST(ColorLiterals, TextToColor)
{
    const std::pair<const char*, TColor> cases[] = {
        {"#ffcc00", RGB(255, 204, 0)}, {"# ff cc 00", RGB(255, 204, 0)}, {"#fc0", RGB(255, 204, 0)},
        {"#ffcc0", 0}, {"#GG0000", RGB(255, 0, 0)}, {"#", 0}, {"#\tffcc00", 0},  // only spaces are removed
        {"RGB(255, 0,0)", RGB(255, 0, 0)}, {"rgb(100%,50%,0%)", RGB(255, 127, 0)},
        {"rgb(50,100%,0)", RGB(127, 255, 0)},  // one % makes every component a percentage
        {"rgb(300,0,0)", RGB(44, 0, 0)}, {"rgb(-1,0,0)", RGB(255, 0, 0)},
        {"rgb(1,2,3", RGB(1, 2, 0)},  // an unterminated component stays 0
        {"RED", RGB(255, 0, 0)}, {"rebeccapurple", RGB(255, 0, 0)}, {"blackish", RGB(0, 0, 0)},
        {"bisque", 0}, {"grey", 0}, {"green", RGB(0, 128, 0)}, {"transparent", RGB(0, 128, 128)},
        {"none", RGB(0, 0, 128)}, {"", 0}};
    for (const auto& [text, color] : cases) EXPECT_EQ(TextToColor(text), color) << text;
    for (const auto& named : NamedColors) EXPECT_EQ(TextToColor(named.Name), named.Color) << named.Name;
}

TEST(ColorLiterals, RgbNotANumberNamesTheText)
{
    for (const char* bad : {"rgb(10,20,30.5)", "rgb(a,b,c)", "rgb(,0,0)", "rgb(1x%,0,0)"})
        EXPECT_NE(std::string(test::ErrorOf([&] { TextToColor(bad); }).what()).find(bad), std::string::npos) << bad;
}
