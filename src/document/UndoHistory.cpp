#include "document/UndoHistory.h"

#include "document/FileSet.h"
#include "document/WorkingCopies.h"

namespace pictor {

namespace {

void RecordFile(TUndoElements& slot, const TElements& file)
{
    // Sized when first used: a document of many colours pays for the slots it fills.
    slot.Colors.resize(file.Colors.size());
    slot.Bitmaps.resize(file.Pics.size());
    for (size_t k = 0; k < file.Colors.size(); ++k) slot.Colors[k] = {file.Colors[k].Text, file.Colors[k].Color};
    for (size_t j = 0; j < file.Pics.size(); ++j) slot.Bitmaps[j] = file.Pics[j].Bitmap;  // shared, not copied
    slot.Added = file.Added;
}

void RestoreFile(const TUndoElements& slot, TElements& file, IWorkingCopies& copies, TWorkPool* pool)
{
    if (slot.Colors.size() != file.Colors.size() || slot.Bitmaps.size() != file.Pics.size()) return;  // never recorded
    for (size_t k = 0; k < file.Colors.size(); ++k) {
        file.Colors[k].Text = slot.Colors[k].Text;
        file.Colors[k].Color = slot.Colors[k].Color;
    }
    file.Added = slot.Added;
    for (size_t j = 0; j < file.Pics.size(); ++j) {
        TPicRecord& pic = file.Pics[j];
        // A picture that is the same as the state restored needs no new working copy.
        if (pic.Bitmap.SharesPixelsWith(slot.Bitmaps[j])) continue;
        pic.Bitmap = slot.Bitmaps[j];
        copies.WritePicture(pic.WorkPath, pic.Bitmap, pool);
    }
}

} // namespace

void TUndoHistory::SetUp(int files)
{
    for (TUndoBuff& slot : Slots_) slot.Files.resize(size_t(files));
}

void TUndoHistory::Record(const IFileSet& files)
{
    Index_ = Index_ + 1 > 3 ? 0 : Index_ + 1;
    TUndoBuff& slot = Slots_[size_t(Index_)];
    for (int i = 0; i < files.FileCount(); ++i) RecordFile(slot.Files.at(size_t(i)), files.Elements(i));
}

void TUndoHistory::Commit(const IFileSet& files)
{
    Available_[size_t(Index_)] = true;
    Available_[size_t((Index_ + 1) % 4)] = false;
    Record(files);
}

void TUndoHistory::Undo(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool)
{
    Index_ = Index_ - 1 < 0 ? 3 : Index_ - 1;
    Restore(files, copies, pool);
}

void TUndoHistory::Redo(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool)
{
    Index_ = Index_ + 1 > 3 ? 0 : Index_ + 1;
    Restore(files, copies, pool);
}

void TUndoHistory::Restore(IFileSet& files, IWorkingCopies& copies, TWorkPool* pool) const
{
    const TUndoBuff& slot = Slots_[size_t(Index_)];
    for (int i = 0; i < files.FileCount(); ++i) RestoreFile(slot.Files.at(size_t(i)), files.Elements(i), copies, pool);
}

} // namespace pictor
