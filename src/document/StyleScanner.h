#pragma once
#include "document/ScanEvents.h"

#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// Space, TAB, CR, LF, ":" and ";".
inline bool IsStyleSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ':' || c == ';'; }

// One declaration block by itself (a style attribute's value), its end a separator. Positions reported
// are offset + the position in text. Returns the position after the block's "}" (or the end).
std::size_t ScanDeclarations(std::string_view text, bool utf8, std::size_t offset, TScanEvents& events);

// Style blocks and sheets: rules, at-rules and declarations at every depth, and "@import" targets.
void WalkStyleText(std::string_view text, bool utf8, std::size_t offset, TScanEvents& events);

// Scans a whole style sheet's text.
void WalkStyleSheet(std::string_view text, bool utf8, TScanEvents& events);

// The same walk in two parts, which may run side by side. WalkStyleSheetUntil walks from the start and
// returns true when it stood at `until` outside every rule, where it stops: WalkStyleSheetFrom(until)
// then reports the rest, as the one walk would. Otherwise it has walked the whole sheet.
bool WalkStyleSheetUntil(std::string_view text, bool utf8, std::size_t until, TScanEvents& events);
void WalkStyleSheetFrom(std::string_view text, bool utf8, std::size_t from, TScanEvents& events);

} // namespace pictor
