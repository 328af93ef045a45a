#pragma once
#include "document/HtmlStructure.h"

#include <functional>
#include <string>

namespace pictor {

enum class TOverwriteAnswer { Yes, No, Cancel, YesToAll, NoToAll };
// Asked when a file to be written exists already; path is the file.
using TOverwriteQuestion = std::function<TOverwriteAnswer(const std::string& path)>;

// Writes the page and every sheet over their files, and every ticked picture. use444: JPEG colour
// not subsampled. Throws TPictorError naming the file that could not be written.
void SaveDocument(THtmlStructure& document, bool use444);

// Writes every file below folder at its path relative to the common base folder, and moves the
// document there. Returns false when a question was answered Cancel: the document's paths are then
// as before, and files written until then stay written.
bool SaveDocumentAs(THtmlStructure& document, const std::string& folder, bool use444, const TOverwriteQuestion& ask);

// A ticked picture to path: re-encoded only when its pixels changed since they were read.
void SavePicture(TPicRecord& picture, const std::string& path, bool use444);

} // namespace pictor
