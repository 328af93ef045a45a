#include "app/model/HintTracker.h"

namespace pictor {

THintAction THintTracker::MouseMove(THintList list, int row, bool showHint)
{
    if (row >= 0 && Mode_ != hmShowing) Mode_ = TMode(list);
    if (!Active_[list]) return {};
    if (row < 0) {
        Tag_[list] = -1;
        return {THintAction::haHide, -1};
    }
    if (row == Tag_[list] || !showHint) return {};
    Tag_[list] = row;
    return {THintAction::haShow, row};
}

THintAction THintTracker::HintDue(THintList list, int row, bool showHint)
{
    if (Mode_ != TMode(list)) return {};
    Mode_ = hmShowing;
    Active_[list] = true;
    Tag_[list] = row + 1;  // differs from the row, so the move below shows it
    return MouseMove(list, row, showHint);
}

THintAction THintTracker::MouseLeave(THintList list)
{
    Mode_ = hmNone;
    Active_[list] = false;
    Tag_[list] = -1;
    return {THintAction::haHide, -1};
}

} // namespace pictor
