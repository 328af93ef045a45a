#pragma once
#include "document/Elements.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pictor {

class IFileSet;
class IWorkingCopies;

struct TUndoColorRecord {
    std::string Text;
    TColor Color = 0;
};
struct TUndoElements {
    std::vector<TUndoColorRecord, THugePageAllocator<TUndoColorRecord>> Colors;
    std::vector<TAddedText> Added;
    std::vector<TBitmapEx> Bitmaps;  // shared with the document until either side changes
};
struct TUndoBuff {
    std::vector<TUndoElements> Files;  // in the file set's order
};

// The last states of a document's records, for Undo and Redo: four slots in a ring, so at most three
// steps back. A slot holds colour texts and values and shares pictures' pixels with the document.
class TUndoHistory {
public:
    // Room for this many files.
    void SetUp(int files);
    // The records as they are now become the newest state.
    void Record(const IFileSet& files);
    // After a change: the state before it may be gone back to, none ahead; then the records are
    // recorded as the newest state.
    void Commit(const IFileSet& files);
    // Back or forward one state, putting its records in place; a picture that changes gets a new
    // working copy.
    void Undo(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool);
    void Redo(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool);
    // The newest state put back in place: what a change cut short had altered is undone.
    void Revert(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool) const { Restore(files, copies, pool); }
    bool CanUndo() const { return Index_ >= 0 && Available_[size_t((Index_ + 3) % 4)]; }
    bool CanRedo() const { return Index_ >= 0 && Available_[size_t(Index_)]; }

    int Index() const { return Index_; }
    const std::array<TUndoBuff, 4>& Slots() const { return Slots_; }

private:
    void Restore(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool) const;

    std::array<TUndoBuff, 4> Slots_;
    std::int32_t Index_ = -1;
    // Whether each slot holds a state that Undo or Redo may go to: the flag just ahead of the newest
    // state is always clear.
    std::array<bool, 4> Available_{};
};

} // namespace pictor
