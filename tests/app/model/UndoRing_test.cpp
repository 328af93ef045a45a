#include "app/model/UndoRing.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(UndoRing, AfterFourChangesThreeUndoStepsAreAvailable)
{
    TUndoRing ring;
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_FALSE(ring.CanRedo());
    for (int i = 0; i < 4; ++i) ring.Commit();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(ring.CanUndo()) << i;
        ring.Undo();
        EXPECT_TRUE(ring.CanRedo());
    }
    EXPECT_FALSE(ring.CanUndo());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(ring.CanRedo()) << i;
        ring.Redo();
    }
    EXPECT_FALSE(ring.CanRedo());
    EXPECT_TRUE(ring.CanUndo());
}

TEST(UndoRing, AChangeAfterUndoCutsOffRedo)
{
    TUndoRing ring;
    ring.Commit();
    ring.Commit();
    ring.Undo();
    ring.Commit();
    EXPECT_FALSE(ring.CanRedo());
    ring.Undo();
    ring.Undo();
    EXPECT_FALSE(ring.CanUndo());
    ring.Redo();
    ring.Redo();
    EXPECT_FALSE(ring.CanRedo());
}

TEST(UndoRing, ResetForgetsEverything)
{
    TUndoRing ring;
    ring.Commit();
    ring.Reset();
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_EQ(ring.Index(), 0);
}

} // namespace
} // namespace pictor
