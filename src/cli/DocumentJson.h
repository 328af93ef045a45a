#pragma once
#include "cli/JsonWriter.h"
#include "document/ColorPairs.h"
#include "document/HtmlStructure.h"

#include <ostream>
#include <string>
#include <string_view>

namespace pictor::cli {

// A text of file tab `tab` as UTF-8 (a UTF-8 file's bytes as they are, others from Shift-JIS).
std::string ToUtf8(const TElements& file, std::string_view text);

// The document in the schema that `list --json` and `adjust --json` print, written as it goes.
void WriteDocumentJson(TJsonWriter& json, const THtmlStructure& document);
// The same for people.
std::string DocumentToText(const THtmlStructure& document);

// "#RRGGBB at pos on #RRGGBB at pos": a text colour and its background as they are now.
std::string PairText(const TElements& file, const TColorPair& pair);

// The document by itself, with a line break after it.
void PrintDocumentJson(std::ostream& out, const THtmlStructure& document);

} // namespace pictor::cli
