#pragma once
#include <array>

namespace pictor {

enum THintList { hlPictures = 0, hlColors = 1 };

// What the list's hint window should do after an event.
struct THintAction {
    enum TKind { haNone, haShow, haHide };
    TKind Kind = haNone;
    int Row = -1;
    bool operator==(const THintAction&) const = default;
};

// The hover hints of the two lists: the first hint of a list waits for the hint pause, later rows
// follow the pointer at once until it leaves the list.
class THintTracker {
public:
    enum TMode { hmPicturesArmed = 0, hmColorsArmed = 1, hmShowing = 2, hmNone = 3 };

    // row: the row under the pointer, -1 when there is none.
    THintAction MouseMove(THintList list, int row, bool showHint);
    // The pointer has rested for the hint pause.
    THintAction HintDue(THintList list, int row, bool showHint);
    THintAction MouseLeave(THintList list);

    TMode Mode() const { return Mode_; }
    bool Active(THintList list) const { return Active_[list]; }
    int Tag(THintList list) const { return Tag_[list]; }

private:
    TMode Mode_ = hmNone;
    std::array<bool, 2> Active_{};
    std::array<int, 2> Tag_{-1, -1};
};

} // namespace pictor
