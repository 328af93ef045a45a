#include "adjust/PreviewView.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pictor {
namespace {

TEST(PreviewView, DragMovesAgainstThePointerStoresOnReleaseAndStopsAtThePageEdges)
{
    TPreviewView view(1000, 800);
    view.Press({100, 100});
    EXPECT_EQ(view.DragPosition({50, 70}), (TViewPoint{50, 30}));
    EXPECT_EQ(view.Scroll(), (TViewPoint{0, 0}));  // moving alone does not scroll
    view.Release({50, 70});
    EXPECT_EQ(view.Scroll(), (TViewPoint{50, 30}));
    view.Press({0, 0});  // a second drag starts from the stored position
    EXPECT_EQ(view.DragPosition({-10, -20}), (TViewPoint{60, 50}));
    EXPECT_EQ(view.DragPosition({-5000, -5000}), (TViewPoint{1000 - PreviewSide, 800 - PreviewSide}));
    EXPECT_EQ(view.DragPosition({5000, 5000}), (TViewPoint{0, 0}));
    view.Release({-5000, 10});
    EXPECT_EQ(view.Scroll(), (TViewPoint{1000 - PreviewSide, 20}));

    // A page smaller than the preview does not move that way.
    TPreviewView narrow(100, 500);
    narrow.Press({100, 100});
    // Dragging left would otherwise reach 247 - 100 = 147.
    EXPECT_EQ(narrow.DragPosition({0, 0}), (TViewPoint{0, 100}));
}

// Only the pixels the marked page draws otherwise, in any channel, change; those beyond a marked page
// smaller than the shown one stay.
TEST(PreviewView, AdjustMarkedChangesOnlyMarkedPixels)
{
    TBitmapEx shown(3, 2), marked(2, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) shown.ScanLine(y)[x * 3 + 2] = std::uint8_t(10 * (x + 3 * y));  // red
        std::memcpy(marked.ScanLine(y), shown.ScanLine(y), 2 * 3);
    }
    marked.ScanLine(0)[1] = 99;     // (0, 0): green differs
    marked.ScanLine(0)[3 + 2] = 0;  // (1, 0): red differs
    marked.ScanLine(1)[3] = 1;      // (1, 1): blue differs
    TBitmapEx adjusted = shown;
    AdjustMarked(TAdjustment::Invert(), marked, adjusted);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const bool isMarked = (x == 0 && y == 0) || (x == 1);
            for (int c = 0; c < 3; ++c) {
                const std::uint8_t before = shown.ScanLine(y)[x * 3 + c];
                EXPECT_EQ(adjusted.ScanLine(y)[x * 3 + c], isMarked ? 255 - before : before) << x << "," << y;
            }
        }
}

} // namespace
} // namespace pictor
