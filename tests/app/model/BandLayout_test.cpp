#include "app/model/BandLayout.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(BandLayout, TheDefaultBarHasTheMenuAndPickerAboveTheFourToolBars)
{
    const TBandSettings defaults = TWindowSettings().Bands;
    EXPECT_EQ(ArrangeBands(defaults, false),
              (TBandRows{{bnMenu, bnColorPicker}, {bnFile, bnEdit, bnColorAdjust, bnHelp}}));
    TBandSettings someHidden = defaults;
    someHidden[bnColorPicker].Visible = false;
    EXPECT_EQ(ArrangeBands(someHidden, true), (TBandRows{{bnMenu}, {bnFile, bnEdit, bnColorAdjust, bnHelp}}));
}

// Where the window put the bands: the same rows and order as loaded, in its own pixels.
TBandSettings ShownAsLoaded()
{
    TBandSettings shown;
    shown[bnMenu] = {true, 0, 0};
    shown[bnColorPicker] = {true, 0, 300};
    shown[bnFile] = {true, 30, 0};
    shown[bnEdit] = {true, 30, 120};
    shown[bnColorAdjust] = {true, 30, 220};
    shown[bnHelp] = {true, 30, 330};
    return shown;
}

TEST(BandLayout, AnUnmovedBarStoresTheLoadedPlaces)
{
    const TBandSettings loaded = TWindowSettings().Bands;
    TBandSettings shown = ShownAsLoaded();
    EXPECT_EQ(PlaceBands(loaded, shown)[bnEdit].Left, 127);
    shown[bnEdit].Visible = false;  // hiding a band moves nothing
    const TBandSettings placed = PlaceBands(loaded, shown);
    EXPECT_FALSE(placed[bnEdit].Visible);
    EXPECT_EQ(placed[bnHelp].Left, 352);
}

TEST(BandLayout, AMovedBandStoresItsRowAndPlace)
{
    const TBandSettings loaded = TWindowSettings().Bands;
    TBandSettings shown = ShownAsLoaded();
    shown[bnHelp] = {true, 0, 150};  // dragged between the menu and the picker
    const TBandSettings placed = PlaceBands(loaded, shown);
    EXPECT_EQ(placed[bnHelp].Top, 2);
    EXPECT_EQ(placed[bnHelp].Left, 161);
    EXPECT_EQ(placed[bnEdit].Top, 28);
    EXPECT_EQ(ArrangeBands(placed, false),
              (TBandRows{{bnMenu, bnHelp, bnColorPicker}, {bnFile, bnEdit, bnColorAdjust}}));
}

} // namespace
} // namespace pictor
