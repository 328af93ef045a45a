#include "adjust/ColorModels.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace pictor {
namespace {

using Rgb = std::array<int, 3>;

Rgb AsArray(TIntRGB c) { return {c.R, c.G, c.B}; }

// The same value pushed through all three channels, one channel's results listed.
std::vector<int> ChannelsThrough(const std::vector<int>& inputs, int brightness, int contrast)
{
    std::vector<int> out;
    for (int c : inputs) out.push_back(BrightContrastRGB(c, c, c, brightness, contrast).R);
    return out;
}

TEST(ColorModels, RGBToHLSSaturationFormulaAndHueTies)
{
    // max + min = 256: L = 128 takes the upper formula, whose divisor differs from the lower one.
    const THLS upper = RGBToHLS(200, 56, 56);
    EXPECT_EQ(upper.L, 128.0);
    EXPECT_EQ(upper.S, 36720.0 / 254);
    const THLS lower = RGBToHLS(199, 56, 56);
    EXPECT_EQ(lower.L, 127.5);
    EXPECT_EQ(lower.S, 36465.0 / 255);
    const THLS grey = RGBToHLS(77, 77, 77);
    EXPECT_EQ(grey.H, 0.0);
    EXPECT_EQ(grey.S, 0.0);
    EXPECT_EQ(grey.L, 77.0);

    EXPECT_EQ(RGBToHLS(255, 255, 0).H, 60.0);   // red and green tie: red's formula
    EXPECT_EQ(RGBToHLS(0, 255, 255).H, 180.0);  // green and blue tie: green's formula
    EXPECT_EQ(RGBToHLS(255, 0, 1).H, -60.0 / 255 + 360);  // negative hue folded up
}

TEST(ColorModels, HLSToRGBTruncates)
{
    EXPECT_EQ(AsArray(HLSToRGB(123.0, 0.0, 99.9)), (Rgb{99, 99, 99}));
    // H = 20, S = 255, L = 125: m2 = 250, m1 = 0; green is 250 * 20 / 60 = 83.3.
    EXPECT_EQ(AsArray(HLSToRGB(20.0, 255.0, 125.0)), (Rgb{250, 83, 0}));
    // A round trip can lose a step: green comes back as 4.9999...
    const THLS hls = RGBToHLS(0, 5, 18);
    EXPECT_EQ(AsArray(HLSToRGB(hls.H, hls.S, hls.L)), (Rgb{0, 4, 18}));
}

TEST(ColorModels, RGBToHSVUsesRoundedTerms)
{
    const THSV hsv = RGBToHSV(0, 1, 180);
    EXPECT_EQ(hsv.V, 180.0);
    EXPECT_EQ(hsv.S, 255.0);
    EXPECT_LT(hsv.H, 240 - 60.0 / 180);  // the direct form lands one bit higher...
    // ...and would give green 0 instead of 1.
    EXPECT_EQ(AsArray(HSVToRGB(hsv.H, hsv.S, hsv.V)), (Rgb{0, 1, 180}));
    EXPECT_EQ(RGBToHSV(90, 90, 90).S, 0.0);
    EXPECT_EQ(RGBToHSV(90, 90, 90).H, 0.0);
}

TEST(ColorModels, HSVToRGBSectorEdges)
{
    EXPECT_EQ(AsArray(HSVToRGB(30.0, 255.0, 255.0)), (Rgb{255, 127, 0}));  // 127.5 truncated
    EXPECT_EQ(AsArray(HSVToRGB(60.0, 255.0, 255.0)), (Rgb{255, 255, 0}));  // sector 1, f = 0
    EXPECT_EQ(AsArray(HSVToRGB(359.9, 255.0, 255.0)), (Rgb{255, 0, 0}));  // sector 5, f = 359
    // 360 is sector 6, which takes the last sector's formula with f = 0.
    EXPECT_EQ(AsArray(HSVToRGB(360.0, 255.0, 255.0)), (Rgb{255, 0, 255}));
    EXPECT_EQ(AsArray(HSVToRGB(77.0, 0.0, 42.7)), (Rgb{42, 42, 42}));
}

TEST(ColorModels, ClampsRoundTiesToEven)
{
    EXPECT_EQ(ClampRoundByte(127.5), 128);
    EXPECT_EQ(ClampRoundByte(126.5), 126);
    EXPECT_EQ(ClampRoundByte(254.5), 254);
    EXPECT_EQ(ClampRoundByte(3.4999), 3);
    EXPECT_EQ(ClampRoundByte(1e9), 255);
    EXPECT_EQ(ClampRoundByte(-3.0), 0);
}

TEST(ColorModels, HueSat)
{
    EXPECT_EQ(AsArray(HueSatRGB(255, 0, 0, 120, 0, 0)), (Rgb{0, 255, 0}));
    EXPECT_EQ(AsArray(HueSatRGB(255, 0, 0, 180, 0, 0)), (Rgb{0, 255, 255}));
    EXPECT_EQ(AsArray(HueSatRGB(255, 0, 0, -180, 0, 0)), (Rgb{0, 255, 255}));
    EXPECT_EQ(AsArray(HueSatRGB(255, 0, 0, 0, 0, 0)), (Rgb{255, 0, 0}));  // hue 0 wraps to 360
    EXPECT_EQ(AsArray(HueSatRGB(0, 5, 18, 0, 0, 0)), (Rgb{0, 4, 18}));    // truncation, not rounding
    // Greys stay grey.
    EXPECT_EQ(AsArray(HueSatRGB(128, 128, 128, 90, 100, 0)), (Rgb{128, 128, 128}));
    EXPECT_EQ(AsArray(HueSatRGB(100, 100, 100, -45, 255, 50)), (Rgb{150, 150, 150}));
    // Saturation is clamped to 255; lightness moves towards white or black.
    EXPECT_EQ(AsArray(HueSatRGB(200, 100, 50, 0, -255, 0)), (Rgb{125, 125, 125}));
    EXPECT_EQ(AsArray(HueSatRGB(200, 100, 50, 0, 255, 0)), (Rgb{250, 83, 0}));
    EXPECT_EQ(AsArray(HueSatRGB(200, 100, 50, 0, 0, 50)), (Rgb{223, 159, 127}));
    EXPECT_EQ(AsArray(HueSatRGB(200, 100, 50, 0, 0, -50)), (Rgb{150, 75, 37}));
    EXPECT_EQ(AsArray(HueSatRGB(200, 100, 50, 0, 0, 255)), (Rgb{255, 255, 255}));
}

TEST(ColorModels, BrightContrastBalanceAndInvert)
{
    EXPECT_EQ(ChannelsThrough({0, 64, 65, 127, 128, 129, 255}, 0, 100),
              (std::vector<int>{0, 0, 2, 126, 128, 130, 255}));
    EXPECT_EQ(ChannelsThrough({0, 1, 100, 254, 255}, 0, -100), (std::vector<int>{128, 128, 128, 128, 128}));
    EXPECT_EQ(ChannelsThrough({0, 100, 200, 255}, 10, 50), (std::vector<int>{10, 96, 246, 255}));
    EXPECT_EQ(ChannelsThrough({0, 10, 250}, -20, 0), (std::vector<int>{0, 0, 230}));
    EXPECT_EQ(AsArray(ContrastRGB(64, 65, 129, 1.0)), (Rgb{0, 2, 130}));

    EXPECT_EQ(AsArray(BalanceRGB(0, 17, 200, 255, 0, 0)), (Rgb{255, 17, 200}));
    EXPECT_EQ(AsArray(BalanceRGB(10, 250, 128, -20, 20, 0)), (Rgb{0, 255, 128}));
    EXPECT_EQ(AsArray(BalanceRGB(10, 20, 30, 1, -2, 3)), (Rgb{11, 18, 33}));
    EXPECT_EQ(AsArray(InvertRGB(0, 128, 255)), (Rgb{255, 127, 0}));
}

} // namespace
} // namespace pictor
