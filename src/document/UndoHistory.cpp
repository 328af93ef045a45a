#include "document/HtmlStructure.h"

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

void RestoreFile(const TUndoElements& slot, TElements& file, IWorkingCopies& copies, int jpegQuality)
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
        copies.WritePicture(pic.WorkPath, pic.Bitmap, jpegQuality);
    }
}

} // namespace

void THtmlStructure::SetUpUndo()
{
    for (TUndoBuff& slot : UndoBuffs) slot.Sheets.resize(size_t(SheetCount()));
}

void THtmlStructure::CheckUndo()
{
    UndoIndex = UndoIndex + 1 > 3 ? 0 : UndoIndex + 1;
    TUndoBuff& slot = UndoBuffs[size_t(UndoIndex)];
    RecordFile(slot.Page, Page);
    for (int i = 0; i < SheetCount(); ++i) RecordFile(slot.Sheets[size_t(i)], GetSheet(i));
}

void THtmlStructure::CommitChange(const TDocumentOptions& options)
{
    WriteWorkingCopies(options);
    UndoAvailable[size_t(UndoIndex)] = true;
    UndoAvailable[size_t((UndoIndex + 1) % 4)] = false;
    CheckUndo();
}

void THtmlStructure::Undo(const TDocumentOptions& options)
{
    UndoIndex = UndoIndex - 1 < 0 ? 3 : UndoIndex - 1;
    RestoreSlot(options);
}

void THtmlStructure::Redo(const TDocumentOptions& options)
{
    UndoIndex = UndoIndex + 1 > 3 ? 0 : UndoIndex + 1;
    RestoreSlot(options);
}

void THtmlStructure::RestoreSlot(const TDocumentOptions& options)
{
    const TUndoBuff& slot = UndoBuffs[size_t(UndoIndex)];
    RestoreFile(slot.Page, Page, *Copies_, options.JpegQuality);
    for (int i = 0; i < SheetCount(); ++i)
        RestoreFile(slot.Sheets[size_t(i)], GetSheet(i), *Copies_, options.JpegQuality);
    WriteWorkingCopies(options);
}

} // namespace pictor
