#include "app/model/HintTracker.h"

#include <gtest/gtest.h>


namespace pictor {
namespace {

const THintAction None{};
const THintAction Hide{THintAction::haHide, -1};
THintAction Show(int row) { return {THintAction::haShow, row}; }

TEST(HintTracker, TheFirstHintWaitsForThePauseThenRowsFollowAtOnce)
{
    THintTracker hints;
    EXPECT_EQ(hints.MouseMove(hlColors, 2, true), None);
    EXPECT_EQ(hints.HintDue(hlPictures, 2, true), None);  // armed for the other list
    EXPECT_EQ(hints.HintDue(hlColors, 2, true), Show(2));
    EXPECT_EQ(hints.MouseMove(hlColors, 2, true), None);
    EXPECT_EQ(hints.MouseMove(hlColors, 3, true), Show(3));
    // Below the last row hides; back on a row shows again at once.
    EXPECT_EQ(hints.MouseMove(hlColors, -1, true), Hide);
    EXPECT_EQ(hints.MouseMove(hlColors, 0, true), Show(0));
    // Leaving disarms: the next hint waits again.
    EXPECT_EQ(hints.MouseLeave(hlColors), Hide);
    EXPECT_FALSE(hints.Active(hlColors));
    EXPECT_EQ(hints.MouseMove(hlColors, 1, true), None);
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
