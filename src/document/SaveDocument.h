#pragma once
#include "base/KeptOwnership.h"
#include "document/HtmlStructure.h"
#include "picture/PictureIO.h"

#include <functional>
#include <string>

namespace pictor {

enum class TOverwriteAnswer { Yes, No, Cancel, YesToAll, NoToAll };
// Asked when a file to be written exists already; path is the file.
using TOverwriteQuestion = std::function<TOverwriteAnswer(const std::string& path)>;

// A save writes all its files or none: each distinct file once (a file named twice is written from the
// record that holds the change), every one to a temporary beside it first, renamed into place only when
// all are written (base/AtomicWrites.h), pictures first and pages last. A file whose owner or group
// could not be kept is refused before anything is written. A picture is re-encoded only when its pixels changed since they were read; one never
// read (no picture ending) is not written. Errors are TPictorError naming the file.

// Writes each page and sheet of files over its file, and every ticked picture; a file that still holds
// what was read from it is left as it is. rights: what this process may give a file (a seam for tests).
void SaveDocument(IFileSet& files, const TPictureSaveOptions& options,
                  const TOwnerRights& rights = TOwnerRights::OfProcess());

// Writes every file below folder at its layout path, the files then naming their new places; ask is
// asked once about each file that exists already, before anything is written. Returns false when it
// was answered Cancel: nothing is written. When it returns false or throws, the files' paths are as
// before.
bool SaveFilesBelow(IFileSet& files, const std::string& folder, const TPictureSaveOptions& options,
                    const TOverwriteQuestion& ask);

// SaveFilesBelow for the window's document: it moves there once every file is written.
bool SaveDocumentAs(THtmlStructure& document, const std::string& folder, const TPictureSaveOptions& options,
                    const TOverwriteQuestion& ask);

} // namespace pictor
