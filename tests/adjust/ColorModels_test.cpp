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

// The hue, saturation and lightness steps the bitmaps and the dialogs are checked against.
TEST(ColorModels, HueSat)
{
    // max + min = 256 takes the upper saturation formula, whose divisor differs from the lower one's.
    EXPECT_EQ(AsArray(HueSatRGB(200, 56, 56, 0, -100, 0)), (Rgb{150, 105, 105}));
    EXPECT_EQ(AsArray(HueSatRGB(255, 0, 0, 120, 0, 0)), (Rgb{0, 255, 0}));
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

    EXPECT_EQ(AsArray(BalanceRGB(0, 17, 200, 255, 0, 0)), (Rgb{255, 17, 200}));
    EXPECT_EQ(AsArray(BalanceRGB(10, 250, 128, -20, 20, 0)), (Rgb{0, 255, 128}));
    EXPECT_EQ(AsArray(BalanceRGB(10, 20, 30, 1, -2, 3)), (Rgb{11, 18, 33}));
    EXPECT_EQ(AsArray(InvertRGB(0, 128, 255)), (Rgb{255, 127, 0}));
}

} // namespace
} // namespace pictor
