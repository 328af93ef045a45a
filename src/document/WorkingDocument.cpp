#include "document/WorkingDocument.h"

#include "document/DocumentText.h"
#include "document/Elements.h"
#include "document/Paths.h"
#include "replace/Replacer.h"

#include <set>

namespace pictor {

TWorkingDocument::TWorkingDocument(std::unique_ptr<IWorkingCopies> copies)
    : WorkFolder(copies->Folder()), Copies_(std::move(copies))
{
}

std::string TWorkingDocument::WorkPathOf(const std::string& path, const std::string& base) const
{
    return WorkFolder + PathBelow(path, base);
}

void TWorkingDocument::PlaceWorkingCopies(const std::string& base)
{
    for (int file = 0; file < FileCount(); ++file) Elements(file).WorkPath = WorkPathOf(Elements(file).Path, base);
    ForEachPicture(*this, [&](TPicRecord& pic) { pic.WorkPath = WorkPathOf(pic.FullPath, base); });
}

// The pages and sheets are written from their records right after; they need only their folders. A
// picture several files name is copied once.
void TWorkingDocument::BeginHistory(const TDocumentOptions& options)
{
    std::set<std::string> folders, copied;
    for (int file = 0; file < FileCount(); ++file)
        if (folders.insert(FolderOf(Elements(file).WorkPath)).second) Copies_->CreateFolders(FolderOf(Elements(file).WorkPath));
    ForEachPicture(*this, [&](const TPicRecord& pic) {
        if (pic.State == TPicState::Ok && copied.insert(pic.WorkPath).second) Copies_->CopyPicture(pic.FullPath, pic.WorkPath, pic.Bitmap);
    });
    History.SetUp(FileCount());
    WriteWorkingCopies(options);
    History.Record(*this);
}

void TWorkingDocument::WriteWorkingCopies(const TDocumentOptions& options)
{
    for (int i = 0; i < FileCount(); ++i) {
        TElements& file = Elements(i);
        RewriteText(file);
        const std::string& work = file.WorkPath;
        if (IsPage(i) && options.UseReplacer)
            Copies_->WriteText(work, EncodeForFile(file, ApplyReplacements(file.CurrentText(), options.ReplaceKeys,
                                                                            options.ReplaceValues, file.WalksAsUtf8())));
        else if (HeldAsWritten(file))
            Copies_->WriteText(work, file.CurrentText());  // no copy
        else
            Copies_->WriteText(work, EncodeForFile(file, file.CurrentText()));
    }
}

void TWorkingDocument::CommitChange(const TDocumentOptions& options)
{
    WriteWorkingCopies(options);
    History.Commit(*this);
}

void TWorkingDocument::Undo(const TDocumentOptions& options)
{
    History.Undo(*this, *Copies_, options.Pool);
    WriteWorkingCopies(options);
}

void TWorkingDocument::Redo(const TDocumentOptions& options)
{
    History.Redo(*this, *Copies_, options.Pool);
    WriteWorkingCopies(options);
}

void TWorkingDocument::RevertChange(const TDocumentOptions& options)
{
    History.Revert(*this, *Copies_, options.Pool);
    WriteWorkingCopies(options);
}

} // namespace pictor
