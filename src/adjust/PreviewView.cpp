#include "adjust/PreviewView.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pictor {

namespace {

// Lower limit first, then upper; a page smaller than the preview never moves in that direction.
int LimitAxis(int value, int extent, int view)
{
    value = std::min(std::max(value, 0), extent - view);
    return view < PreviewSide ? 0 : value;
}

} // namespace

TViewPoint SnapshotSize(int pageWidth, int pageHeight, const TSnapshotLimit& limit)
{
    TViewPoint size{std::max(pageWidth, 0), std::max(pageHeight, 0)};
    if (limit.Limited) {
        size.X = std::min(size.X, std::max(limit.MaxWidth, 0));
        size.Y = std::min(size.Y, std::max(limit.MaxHeight, 0));
    }
    return size;
}

TPreviewView::TPreviewView(int pageWidth, int pageHeight)
    : ViewWidth_(std::min(pageWidth, PreviewSide)), ViewHeight_(std::min(pageHeight, PreviewSide)),
      ExtentWidth_(std::max(pageWidth, PreviewSide)), ExtentHeight_(std::max(pageHeight, PreviewSide))
{
}

TViewPoint TPreviewView::DragPosition(TViewPoint pointer) const
{
    return {LimitAxis(Scroll_.X - (pointer.X - Press_.X), ExtentWidth_, ViewWidth_),
            LimitAxis(Scroll_.Y - (pointer.Y - Press_.Y), ExtentHeight_, ViewHeight_)};
}

TBitmapEx PreviewOf(const TBitmapEx& snapshot, const TPreviewView& view, TViewPoint at)
{
    TBitmapEx preview(PreviewSide, PreviewSide);
    const int width = std::max(0, std::min(view.ViewWidth(), snapshot.Width() - at.X));
    const int height = std::max(0, std::min(view.ViewHeight(), snapshot.Height() - at.Y));
    for (int y = 0; y < height; ++y)
        std::memcpy(preview.ScanLine(y), snapshot.ScanLine(at.Y + y) + std::size_t(at.X) * 3, std::size_t(width) * 3);
    return preview;
}

void AdjustMarked(const TAdjustment& adjustment, const TBitmapEx& marked, TBitmapEx& shown)
{
    TBitmapEx adjusted = shown;
    AdjustBitmap(adjustment, adjusted);
    const int width = std::min(shown.Width(), marked.Width());
    const int height = std::min(shown.Height(), marked.Height());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* mark = marked.ScanLine(y);
        const std::uint8_t* from = std::as_const(adjusted).ScanLine(y);
        std::uint8_t* to = shown.ScanLine(y);
        for (int i = 0; i < width * 3; i += 3)
            if (mark[i] != to[i] || mark[i + 1] != to[i + 1] || mark[i + 2] != to[i + 2]) std::memcpy(to + i, from + i, 3);
    }
}

} // namespace pictor
