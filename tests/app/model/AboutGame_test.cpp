#include "app/model/AboutGame.h"

#include <gtest/gtest.h>

#include <vector>

namespace pictor {
namespace {

std::vector<int> Steps(TAboutGame& game, int count, int screenBottom = 100000)
{
    std::vector<int> tops;
    for (int i = 0; i < count; ++i) tops.push_back(game.Step(screenBottom));
    return tops;
}

TEST(AboutGame, ThrowRisesTwoHundredTwentyFivePixelsAndFalls)
{
    TAboutGame game;
    game.Start(500);
    // base 275; t = -15, -14.5, -14, ...: 225, 210.25 (truncated), 196
    EXPECT_EQ(Steps(game, 3), (std::vector<int>{500, 485, 471}));
    Steps(game, 27);  // t reaches 0
    EXPECT_EQ(game.Step(100000), 275);
    EXPECT_EQ(game.Step(100000), 275);  // t = 0.5 adds 0.25
    EXPECT_EQ(game.Hits(), 0);
}

TEST(AboutGame, EndsWhenTheTopReachesTheScreenBottom)
{
    TAboutGame game;
    game.Start(500);
    int steps = 0, top = 0;
    while (game.Running()) {
        top = game.Step(1000);
        ++steps;
    }
    EXPECT_GE(top, 1000);
    // The previous step was still above: t = 26 puts the top at 275 + 676 = 951, t = 26.5 at 977,
    // t = 27 at 1004.
    EXPECT_EQ(top, 1004);
    EXPECT_EQ(steps, 85);
}

TEST(AboutGame, HitThrowsAgainFromWhereTheWindowIs)
{
    TAboutGame game;
    game.Hit(300);  // at rest: no hit
    EXPECT_EQ(game.Hits(), 0);
    EXPECT_FALSE(game.Running());
    game.Start(500);
    Steps(game, 40);
    game.Hit(600);
    EXPECT_EQ(game.Hits(), 1);
    EXPECT_EQ(game.Step(100000), 600);
    EXPECT_EQ(game.Step(100000), 585);
}

TEST(AboutGame, MessageTellsTheHitsAndKeepsANewRecord)
{
    TAboutGame none;
    int high = 3;
    EXPECT_FALSE(none.ResultMessage(high).has_value());

    TAboutGame game;
    game.Start(500);
    for (int i = 0; i < 3; ++i) game.Hit(500);
    EXPECT_EQ(game.ResultMessage(high).value(), "3回成功しました！\n\rハイスコア：3回");
    EXPECT_EQ(high, 3);
    high = 2;
    EXPECT_EQ(game.ResultMessage(high).value(), "おめでとう！ハイスコアを更新しました！\n\r3回成功しました！");
    EXPECT_EQ(high, 3);
}

} // namespace
} // namespace pictor
