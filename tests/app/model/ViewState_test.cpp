#include "app/model/HintTracker.h"

#include <gtest/gtest.h>


namespace pictor {
namespace {

const THintAction None{};
const THintAction Hide{THintAction::haHide, -1};
THintAction Show(int row) { return {THintAction::haShow, row}; }

// Showing and hiding on the rows is the window's hint test; here: the pause, the other list, and hints off.
TEST(HintTracker, TheFirstHintWaitsForThePauseThenRowsFollowAtOnce)
{
    THintTracker hints;
    EXPECT_EQ(hints.MouseMove(hlColors, 2, true), None);
    EXPECT_EQ(hints.HintDue(hlPictures, 2, true), None);  // armed for the other list
    EXPECT_EQ(hints.HintDue(hlColors, 2, true), Show(2));
    EXPECT_EQ(hints.MouseMove(hlColors, -1, true), Hide);  // below the last row
    EXPECT_EQ(hints.MouseMove(hlColors, 0, true), Show(0));
    EXPECT_EQ(hints.MouseLeave(hlColors), Hide);
    EXPECT_EQ(hints.MouseMove(hlColors, 1, true), None) << "leaving disarms: the next hint waits again";

    THintTracker off;
    off.MouseMove(hlColors, 0, false);
    EXPECT_EQ(off.HintDue(hlColors, 0, false), None);
    EXPECT_EQ(off.MouseMove(hlColors, 1, false), None);
}

} // namespace
} // namespace pictor
