#pragma once
#include "document/ScanEvents.h"

#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// Space, TAB, CR, LF, ":" and ";".
inline bool IsStyleSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ':' || c == ';'; }

// out := text with every separator a space (multi-byte characters left whole).
void MakeStyleScanCopy(std::string_view text, bool utf8, std::string& out);

// The tokenizer over one declaration block of a scanning copy, from start (just inside the "{", or the
// start of a style attribute's value). Positions reported are offset + the position in copy; nothing is
// reported at or beyond limit. styleText: the quoted-string rule applies (style blocks and sheets).
// original: the text the copy was made from, for references. Returns the position after the block.
std::size_t ScanDeclarations(std::string_view copy, std::string_view original, std::size_t start, std::size_t limit,
                             bool styleText, bool utf8, std::size_t offset, TScanEvents& events);

// Style blocks and sheets: comments and declaration blocks, everything else skipped.
void WalkStyleText(std::string_view copy, std::string_view original, bool utf8, std::size_t offset,
                   TScanEvents& events);

// Scans a whole style sheet's text.
void WalkStyleSheet(std::string_view text, bool utf8, TScanEvents& events);

// The targets of a sheet's "@import" rules, in order, as written (URLs left out). text is the sheet's
// normalised text (Shift-JIS, CR LF line breaks).
std::vector<std::string> FindImportTargets(std::string_view text);

} // namespace pictor
