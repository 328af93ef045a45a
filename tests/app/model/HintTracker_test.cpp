#include "app/model/HintTracker.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

const THintAction None{};
THintAction Show(int row) { return {THintAction::haShow, row}; }
const THintAction Hide{THintAction::haHide, -1};

TEST(HintTracker, TheFirstHintWaitsForThePauseThenRowsFollowAtOnce)
{
    THintTracker hints;
    EXPECT_EQ(hints.MouseMove(hlColors, 2, true), None);
    EXPECT_EQ(hints.Mode(), THintTracker::hmColorsArmed);
    EXPECT_EQ(hints.HintDue(hlColors, 2, true), Show(2));
    EXPECT_EQ(hints.Mode(), THintTracker::hmShowing);
    EXPECT_EQ(hints.MouseMove(hlColors, 2, true), None);
    EXPECT_EQ(hints.MouseMove(hlColors, 3, true), Show(3));
    EXPECT_EQ(hints.Tag(hlColors), 3);
}

TEST(HintTracker, BelowTheLastRowHidesAndBackOnARowShowsAgainAtOnce)
{
    THintTracker hints;
    hints.MouseMove(hlPictures, 0, true);
    hints.HintDue(hlPictures, 0, true);
    EXPECT_EQ(hints.MouseMove(hlPictures, -1, true), Hide);
    EXPECT_EQ(hints.Tag(hlPictures), -1);
    EXPECT_EQ(hints.MouseMove(hlPictures, 0, true), Show(0));
}

TEST(HintTracker, LeavingDisarmsAndTheNextHintWaitsAgain)
{
    THintTracker hints;
    hints.MouseMove(hlColors, 1, true);
    hints.HintDue(hlColors, 1, true);
    EXPECT_EQ(hints.MouseLeave(hlColors), Hide);
    EXPECT_EQ(hints.Mode(), THintTracker::hmNone);
    EXPECT_FALSE(hints.Active(hlColors));
    EXPECT_EQ(hints.MouseMove(hlColors, 1, true), None);
    EXPECT_EQ(hints.HintDue(hlPictures, 1, true), None);  // armed for the other list
}

TEST(HintTracker, WithHintsOffNothingIsShown)
{
    THintTracker hints;
    hints.MouseMove(hlColors, 0, false);
    EXPECT_EQ(hints.HintDue(hlColors, 0, false), None);
    EXPECT_EQ(hints.MouseMove(hlColors, 1, false), None);
}

} // namespace
} // namespace pictor
