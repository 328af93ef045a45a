#include "app/model/UndoRing.h"

namespace pictor {

void TUndoRing::Reset()
{
    Flags_ = {};
    Index_ = 0;
}

void TUndoRing::Commit()
{
    Flags_[std::size_t(Index_)] = true;
    Flags_[std::size_t((Index_ + 1) % 4)] = false;
    Index_ = (Index_ + 1) % 4;
}

void TUndoRing::Undo()
{
    Index_ = (Index_ + 3) % 4;
}

void TUndoRing::Redo()
{
    Index_ = (Index_ + 1) % 4;
}

} // namespace pictor
