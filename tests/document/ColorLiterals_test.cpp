#include "document/ColorLiterals.h"
#include "document/Options.h"
#include "document/PictorError.h"

#include <gtest/gtest.h>

using namespace pictor;

TEST(ColorLiterals, HexForms)
{
    EXPECT_EQ(TextToColor("#FFCC00"), RGB(255, 204, 0));
    EXPECT_EQ(TextToColor("#ffcc00"), RGB(255, 204, 0));
    EXPECT_EQ(TextToColor("# ff cc 00"), RGB(255, 204, 0));
    EXPECT_EQ(TextToColor("#fc0"), RGB(255, 204, 0));
    EXPECT_EQ(TextToColor("#ffcc0"), 0u);
    EXPECT_EQ(TextToColor("#GG0000"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("#"), 0u);
    EXPECT_EQ(TextToColor("#\tffcc00"), 0u) << "only spaces are removed";
}

TEST(ColorLiterals, RgbForms)
{
    EXPECT_EQ(TextToColor("rgb(255, 0, 0)"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("RGB(255,0,0)"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("rgb(100%,50%,0%)"), RGB(255, 127, 0));
    EXPECT_EQ(TextToColor("rgb(50,100%,0)"), RGB(127, 255, 0)) << "one % makes every component a percentage";
    EXPECT_EQ(TextToColor("rgb(300,0,0)"), RGB(44, 0, 0));
    EXPECT_EQ(TextToColor("rgb(-1,0,0)"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("rgb(1,2,3"), RGB(1, 2, 0)) << "an unterminated component stays 0";
}

TEST(ColorLiterals, RgbNotANumberNamesTheText)
{
    for (const char* bad : {"rgb(10,20,30.5)", "rgb(a,b,c)", "rgb(,0,0)", "rgb(1x%,0,0)"}) {
        try {
            TextToColor(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const TPictorError& e) {
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
        }
    }
}

TEST(ColorLiterals, NamesByFirstLetter)
{
    EXPECT_EQ(TextToColor("Red"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("RED"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("rebeccapurple"), RGB(255, 0, 0));
    EXPECT_EQ(TextToColor("Blue"), RGB(0, 0, 255));
    EXPECT_EQ(TextToColor("blackish"), RGB(0, 0, 0));
    EXPECT_EQ(TextToColor("bisque"), 0u);
    EXPECT_EQ(TextToColor("grey"), 0u);
    EXPECT_EQ(TextToColor("green"), RGB(0, 128, 0));
    EXPECT_EQ(TextToColor("transparent"), RGB(0, 128, 128));
    EXPECT_EQ(TextToColor("none"), RGB(0, 0, 128));
    EXPECT_EQ(TextToColor(""), 0u);
    for (const auto& named : NamedColors) EXPECT_EQ(TextToColor(named.Name), named.Color) << named.Name;
}

TEST(ColorLiterals, ByteToHexFollowsTheCaseOption)
{
    EXPECT_EQ(ColorByteToHex(10), "0A");
    EXPECT_EQ(ColorByteToHex(255), "FF");
    EXPECT_EQ(ColorByteToHex(0), "00");
    Options().SaveWithLowerCase = true;
    EXPECT_EQ(ColorByteToHex(10), "0a");
    EXPECT_EQ(ColorToCode(RGB(0, 255, 171)), "#00ffab");
    EXPECT_EQ(ColorToUpperCode(RGB(0, 255, 171)), "#00FFAB");
    Options().SaveWithLowerCase = false;
    EXPECT_EQ(ColorToCode(RGB(0, 255, 171)), "#00FFAB");
}
