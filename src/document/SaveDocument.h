#pragma once
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
// all are written. A picture is re-encoded only when its pixels changed since they were read; one never
// read (no picture ending) is not written. Errors are TPictorError naming the file.

// Writes the page and every sheet over their files, and every ticked picture.
void SaveDocument(THtmlStructure& document, const TPictureSaveOptions& options);

// Writes every file below folder at its path relative to the common base folder, and moves the
// document there; ask is asked once about each file that exists already, before anything is written.
// Returns false when it was answered Cancel: nothing is written and the document's paths are as before.
bool SaveDocumentAs(THtmlStructure& document, const std::string& folder, const TPictureSaveOptions& options,
                    const TOverwriteQuestion& ask);

} // namespace pictor
