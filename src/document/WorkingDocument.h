#pragma once
#include "document/DocumentOptions.h"
#include "document/FileSet.h"
#include "document/UndoHistory.h"
#include "document/WorkingCopies.h"

#include <memory>
#include <string>

namespace pictor {

// A file set the window changes and shows: the working copies its preview reads, and the history of
// its changes. A page's document is one, and so is a site.
class TWorkingDocument : public IFileSet {
public:
    explicit TWorkingDocument(std::unique_ptr<IWorkingCopies> copies);

    std::string WorkFolder;  // the working folder, with a trailing "/"
    TUndoHistory History;
    // Every working copy is written through this.
    IWorkingCopies& WorkingCopies() override { return *Copies_; }
    // Each file's working copy lies below the working folder as the file lies below the common folder.
    const std::string& LayoutFolder() const override { return WorkFolder; }

    // After the load: the pictures copied, every working copy written and the first state recorded.
    void BeginHistory(const TDocumentOptions& options = {});
    // Rewrites every file from its records and writes the working copies; the replacement table goes
    // into the pages' copies.
    void WriteWorkingCopies(const TDocumentOptions& options = {});
    // The step that ends every change to the records: writes the working copies and records the state
    // as the newest of the history, which Undo goes back from and which cuts off any Redo.
    void CommitChange(const TDocumentOptions& options = {});
    void Undo(const TDocumentOptions& options = {});
    void Redo(const TDocumentOptions& options = {});
    // A change cut short before its CommitChange: the records and working copies as at the last commit.
    void RevertChange(const TDocumentOptions& options = {});
    bool CanUndo() const { return History.CanUndo(); }
    bool CanRedo() const { return History.CanRedo(); }

protected:
    // Gives every file and picture the path of its working copy, below WorkFolder as it lies below base
    // (a folder with a trailing "/"); a file elsewhere keeps its whole path below WorkFolder.
    void PlaceWorkingCopies(const std::string& base);

private:
    std::string WorkPathOf(const std::string& path, const std::string& base) const;

    std::unique_ptr<IWorkingCopies> Copies_;
};

} // namespace pictor
