#include "adjust/DarkColors.h"
#include "adjust/DarkPictures.h"
#include "document/ColorLiterals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pictor {
namespace {

// One row of the table scripts/dark-reference.mjs made with colorjs.io.
struct TReference {
    TColor Color;
    double L, C, H;
    double DarkL;
    TColor Dark;
};

std::vector<TReference> ReadReference()
{
    std::ifstream in(std::string(PICTOR_TEST_DATA) + "/dark/oklch-reference.tsv");
    std::vector<TReference> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.starts_with("# ")) continue;
        std::istringstream fields(line);
        std::string code, dark;
        TReference r{};
        fields >> code >> r.L >> r.C >> r.H >> r.DarkL >> dark;
        r.Color = TextToColor(code);
        r.Dark = TextToColor(dark);
        rows.push_back(r);
    }
    return rows;
}

TEST(DarkColors, LightnessMirroredHueAndChromaKept)
{
    for (const TReference& r : ReadReference()) {
        const TColor dark = DarkColor(r.Color, {});
        const std::string name = ColorToUpperCode(r.Color) + " -> " + ColorToUpperCode(dark);
        EXPECT_NEAR(DarkLightness(r.L, {}), r.DarkL, 1e-6) << name;
        // As colorjs.io maps it into sRGB, to a step of 8-bit rounding.
        EXPECT_LE(std::abs(GetRValue(dark) - GetRValue(r.Dark)), 1) << name;
        EXPECT_LE(std::abs(GetGValue(dark) - GetGValue(r.Dark)), 1) << name;
        EXPECT_LE(std::abs(GetBValue(dark) - GetBValue(r.Dark)), 1) << name;
    }
}

TEST(DarkColors, EndsPlaceWhiteAndBlack)
{
    EXPECT_NEAR(OklchLightness(DarkColor(RGB(255, 255, 255), {10, 90})), 0.10, 0.005);
    EXPECT_NEAR(OklchLightness(DarkColor(RGB(0, 0, 0), {10, 90})), 0.90, 0.005);
    EXPECT_EQ(DarkColor(RGB(255, 255, 255), {0, 100}), RGB(0, 0, 0));
}

TBitmapEx Filled(int width, int height, const std::vector<TColor>& colours)
{
    TBitmapEx bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const TColor c = colours[size_t(y * width + x) % colours.size()];
            row[x * 3] = std::uint8_t(GetBValue(c));
            row[x * 3 + 1] = std::uint8_t(GetGValue(c));
            row[x * 3 + 2] = std::uint8_t(GetRValue(c));
        }
    }
    return bitmap;
}

TEST(DarkPictures, PhotographsLeftAloneFlatPicturesDarkened)
{
    std::vector<TColor> many;
    for (int i = 0; i < 2000; ++i) many.push_back(RGB(i % 256, (i * 7) % 256, i / 8));
    TBitmapEx photo = Filled(100, 40, many);
    TBitmapEx logo = Filled(100, 40, {RGB(255, 255, 255), RGB(0, 0, 255)});
    EXPECT_FALSE(IsFlatColorPicture(photo));
    EXPECT_TRUE(IsFlatColorPicture(logo));

    const TBitmapEx photoBefore = photo;
    DarkenPicture(photo, {}, true);
    EXPECT_TRUE(photo.SamePixels(photoBefore));
    DarkenPicture(logo, {}, true);
    const std::uint8_t* p = logo.ScanLine(0);
    EXPECT_EQ(RGB(p[2], p[1], p[0]), DarkColor(RGB(255, 255, 255), {}));
    DarkenPicture(photo, {}, false);
    EXPECT_FALSE(photo.SamePixels(photoBefore));

    // Transparency makes a picture of many colours a flat one: an icon, not a photograph.
    TBitmapEx icon = Filled(100, 40, many);
    TFrame frame = icon.Frame(0);
    frame.Alpha.assign(size_t(100 * 40), 255);
    frame.Alpha[5] = 0;
    icon.SetFrames({frame});
    EXPECT_TRUE(IsFlatColorPicture(icon));
}

} // namespace
} // namespace pictor
