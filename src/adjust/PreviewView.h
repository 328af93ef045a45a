#pragma once
#include "adjust/Adjustment.h"
#include "picture/BitmapEx.h"

namespace pictor {

// Side of the adjustment dialogs' square preview, in pixels.
constexpr int PreviewSide = 247;

struct TViewPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TViewPoint&) const = default;
};

// The largest page snapshot the dialogs render, from the options.
struct TSnapshotLimit {
    bool Limited = false;
    int MaxWidth = 1000;
    int MaxHeight = 1000;
};

// The page size reported by the browser, capped when the limit is on; never negative.
TViewPoint SnapshotSize(int pageWidth, int pageHeight, const TSnapshotLimit& limit);

// Where the preview window stands on the page snapshot, and how a left-button drag moves it.
class TPreviewView {
public:
    TPreviewView(int pageWidth, int pageHeight);

    int ViewWidth() const { return ViewWidth_; }
    int ViewHeight() const { return ViewHeight_; }
    TViewPoint Scroll() const { return Scroll_; }

    void Press(TViewPoint pointer) { Press_ = pointer; }
    // The view position while dragging; the stored scroll position stays until Release.
    TViewPoint DragPosition(TViewPoint pointer) const;
    void Release(TViewPoint pointer) { Scroll_ = DragPosition(pointer); }

private:
    int ViewWidth_, ViewHeight_, ExtentWidth_, ExtentHeight_;
    TViewPoint Scroll_;
    TViewPoint Press_;
};

// A PreviewSide square bitmap, black, with the view-sized part of the snapshot at `at` copied to its top-left.
TBitmapEx PreviewOf(const TBitmapEx& snapshot, const TPreviewView& view, TViewPoint at);

// The adjustment applied to those pixels of `shown` that differ in `marked`, the same page drawn with
// every colour and picture a change would reach altered: the dialogs preview what OK will change, and
// nothing else. Pixels beyond `marked` are left alone.
void AdjustMarked(const TAdjustment& adjustment, const TBitmapEx& marked, TBitmapEx& shown);

} // namespace pictor
