#pragma once
#include <string>
#include <string_view>

namespace pictor {

struct TColorRecord;

// The source hint of a colour row: the bytes around the occurrence in the file's text as rewritten.
struct TSourceExcerpt {
    std::string Before;
    std::string Color;
    std::string After;
};

// Up to hintViewBytes / 2 bytes on each side of the record's Text at its Pos. Bytes, not characters:
// an excerpt may cut a double-byte character in two.
TSourceExcerpt MakeSourceExcerpt(std::string_view newText, const TColorRecord& record, int hintViewBytes);

// A text of a file as UTF-8 for display: internal Shift-JIS is converted, a UTF-8 file's bytes are kept.
std::string DisplayText(std::string_view text, bool fileIsUtf8);

} // namespace pictor
