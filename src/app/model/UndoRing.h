#pragma once
#include <array>
#include <cstddef>

namespace pictor {

// The window's side of the undo history: one availability flag per slot of the document's ring of
// four and the index of the slot after the state on show. With four flags at most three steps back
// are available: the flag just ahead of the newest state is always clear.
class TUndoRing {
public:
    void Reset();
    void Commit();
    void Undo();
    void Redo();
    bool CanUndo() const { return Flags_[std::size_t((Index_ + 3) % 4)]; }
    bool CanRedo() const { return Flags_[std::size_t(Index_)]; }
    int Index() const { return Index_; }

private:
    std::array<bool, 4> Flags_{};
    int Index_ = 0;
};

} // namespace pictor
