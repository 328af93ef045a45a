#include "document/HtmlStructure.h"
#include "picture/PictureIO.h"

namespace pictor {

namespace {

void RecordFile(TUndoElements& slot, const TElements& file)
{
    // Sized when first used: a document of many colours pays for the slots it fills.
    slot.Colors.resize(file.Colors.size());
    slot.Bitmaps.resize(file.Pics.size());
    for (size_t k = 0; k < file.Colors.size(); ++k) slot.Colors[k] = {file.Colors[k].Text, file.Colors[k].Color};
    for (size_t j = 0; j < file.Pics.size(); ++j) slot.Bitmaps[j] = file.Pics[j].Bitmap;  // shared, not copied
}

void RestoreFile(const TUndoElements& slot, TElements& file)
{
    if (slot.Colors.size() != file.Colors.size() || slot.Bitmaps.size() != file.Pics.size()) return;  // never recorded
    for (size_t k = 0; k < file.Colors.size(); ++k) {
        file.Colors[k].Text = slot.Colors[k].Text;
        file.Colors[k].Color = slot.Colors[k].Color;
    }
    for (size_t j = 0; j < file.Pics.size(); ++j) {
        TPicRecord& pic = file.Pics[j];
        // A picture that is the same as the state restored needs no new working copy.
        if (pic.Bitmap.SharesPixelsWith(slot.Bitmaps[j])) continue;
        pic.Bitmap = slot.Bitmaps[j];
        WritePictureWorkCopy(pic.WorkPath, pic.Bitmap);
    }
}

} // namespace

void THtmlStructure::SetUpUndo()
{
    for (TUndoBuff& slot : UndoBuffs) slot.Sheets.resize(size_t(SheetCount));
}

void THtmlStructure::CheckUndo()
{
    UndoIndex = UndoIndex + 1 > 3 ? 0 : UndoIndex + 1;
    TUndoBuff& slot = UndoBuffs[size_t(UndoIndex)];
    RecordFile(slot.Page, Page);
    for (int i = 0; i < SheetCount; ++i) RecordFile(slot.Sheets[size_t(i)], Sheets[size_t(i)]);
}

void THtmlStructure::Undo()
{
    UndoIndex = UndoIndex - 1 < 0 ? 3 : UndoIndex - 1;
    RestoreSlot();
}

void THtmlStructure::Redo()
{
    UndoIndex = UndoIndex + 1 > 3 ? 0 : UndoIndex + 1;
    RestoreSlot();
}

void THtmlStructure::RestoreSlot()
{
    const TUndoBuff& slot = UndoBuffs[size_t(UndoIndex)];
    RestoreFile(slot.Page, Page);
    for (int i = 0; i < SheetCount; ++i) RestoreFile(slot.Sheets[size_t(i)], Sheets[size_t(i)]);
    WriteWorkingCopies();
}

} // namespace pictor
