#include "colordialog/ColorSelectModel.h"

#include "adjust/ColorModels.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TColorSelectModel Shown(TColor color)
{
    TColorSelectModel model(TPaletteCells{}, color, false);
    model.FormShow();
    return model;
}

TColor BoxPixel(const TColorSelectModel& m, int x, int y)
{
    const std::uint8_t* p = &m.BoxPixels()[(y * BoxSize + x) * 3];
    return RGB(p[2], p[1], p[0]);  // stored blue first
}

TColor Color(TIntRGB c) { return RGB(c.R, c.G, c.B); }

// (40, 80, 120) is H 210, S 170, V 120.
TEST(ColorSelectRender, BoxShowsTheTwoFreeChannelsOfEachMode)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    const int points[][2] = {{0, 0}, {255, 255}, {17, 200}, {200, 17}};
    for (auto [x, y] : points) EXPECT_EQ(BoxPixel(model, x, y), Color(HSVToRGB(210, x, 255 - y)));
    model.ModeChange(cmS);
    for (auto [x, y] : points) EXPECT_EQ(BoxPixel(model, x, y), Color(HSVToRGB(x * 1.41015625, 170, 255 - y)));
    model.ModeChange(cmV);
    for (auto [x, y] : points) EXPECT_EQ(BoxPixel(model, x, y), Color(HSVToRGB(x * 1.41015625, 255 - y, 120)));
    model.ModeChange(cmR);
    for (auto [x, y] : points) EXPECT_EQ(BoxPixel(model, x, y), RGB(40, 255 - y, x));
    model.ModeChange(cmG);
    for (auto [x, y] : points) EXPECT_EQ(BoxPixel(model, x, y), RGB(x, 80, 255 - y));
    model.ModeChange(cmB);
    for (auto [x, y] : points) EXPECT_EQ(BoxPixel(model, x, y), RGB(255 - y, x, 120));
}

TEST(ColorSelectRender, BoxTakesHue360AsZeroAndSnapsWithTheOption)
{
    TColorSelectModel model = Shown(RGB(255, 0, 0));
    const std::vector<std::uint8_t> hue0 = model.BoxPixels();
    model.BandMouse(0);
    ASSERT_EQ(model.H(), 360);
    EXPECT_EQ(model.BoxPixels(), hue0);

    model.WebSafeChange(true);
    for (std::uint8_t c : model.BoxPixels()) ASSERT_EQ(c % 51, 0);
}

TEST(ColorSelectRender, BandRowsRunFromTopValue255)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    EXPECT_EQ(model.BandRows()[0], Color(HSVToRGB(255 * 1.41015625, 255, 255)));
    EXPECT_EQ(model.BandRows()[200], Color(HSVToRGB(55 * 1.41015625, 255, 255)));
    model.ModeChange(cmS);
    EXPECT_EQ(model.BandRows()[30], Color(HSVToRGB(210, 225, 120)));
    model.ModeChange(cmV);
    EXPECT_EQ(model.BandRows()[30], Color(HSVToRGB(210, 170, 225)));
    model.ModeChange(cmR);
    EXPECT_EQ(model.BandRows()[0], RGB(255, 80, 120));
    EXPECT_EQ(model.BandRows()[255], RGB(0, 80, 120));
    model.ModeChange(cmG);
    EXPECT_EQ(model.BandRows()[5], RGB(40, 250, 120));
    model.ModeChange(cmB);
    EXPECT_EQ(model.BandRows()[5], RGB(40, 80, 250));
}

TEST(ColorSelectRender, WebSafeBandsFollowTheBoxPositionAndTheSnappedColour)
{
    TColorSelectModel model = Shown(RGB(40, 80, 120));
    model.WebSafeChange(true);
    model.ModeChange(cmR);
    EXPECT_EQ(model.BandRows()[0], RGB(255, 102, 102));  // fixed channels from the snapped (51, 102, 102)
    EXPECT_EQ(model.BandRows()[140], RGB(102, 102, 102));

    model.ModeChange(cmS);
    model.BoxMouse(100, 10);  // hue from the unrounded position, V from the unsnapped colour
    const THSV unsnapped = RGBToHSV(model.R(), model.G(), model.B());
    const TIntRGB row = HSVToRGB(100 * 1.41015625, 255 - 30, unsnapped.V);
    EXPECT_EQ(model.BandRows()[30], RGB(SnapWebSafe(row.R), SnapWebSafe(row.G), SnapWebSafe(row.B)));
}

} // namespace
} // namespace pictor
