#pragma once
#include "document/SaveDocument.h"

#include <string>

class QWidget;

namespace pictor {

// Save as's question for a file that exists already: Yes, No, Cancel, No to all, Yes to all.
TOverwriteAnswer AskOverwrite(QWidget* parent, const std::string& path);

// For SaveDocumentAs: the same question, asked over parent.
TOverwriteQuestion OverwriteQuestionFor(QWidget* parent);

} // namespace pictor
