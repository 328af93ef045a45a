#include "app/model/AboutGame.h"
#include "app/model/HintTracker.h"

#include <gtest/gtest.h>

#include <vector>

namespace pictor {
namespace {

std::vector<int> Steps(TAboutGame& game, int count)
{
    std::vector<int> tops;
    for (int i = 0; i < count; ++i) tops.push_back(game.Step(100000));
    return tops;
}

TEST(AboutGame, HitsThrowAgainFromTheWindowAndTheMessageKeepsANewRecord)
{
    TAboutGame game;
    game.Hit(300);  // at rest: no hit
    int high = 3;
    EXPECT_FALSE(game.ResultMessage(high).has_value());
    game.Start(500);
    Steps(game, 40);
    game.Hit(600);
    EXPECT_EQ(Steps(game, 2), (std::vector<int>{600, 585}));
    game.Hit(500);
    game.Hit(500);
    EXPECT_EQ(game.ResultMessage(high).value(), "3回成功しました！\n\rハイスコア：3回");
    EXPECT_EQ(high, 3);
    high = 2;
    EXPECT_EQ(game.ResultMessage(high).value(), "おめでとう！ハイスコアを更新しました！\n\r3回成功しました！");
    EXPECT_EQ(high, 3);
}

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
