#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// One entry of the replacement table, in the internal encoding; Value is kept escaped.
struct TReplaceItem {
    std::string Key;
    std::string Value;
    bool operator==(const TReplaceItem&) const = default;
};
using TReplaceTable = std::vector<TReplaceItem>;

// Appends a copy of every listed row, in table order; rows may come unsorted and repeated.
void AppendCopies(TReplaceTable& table, std::vector<int> rows);
void RemoveRows(TReplaceTable& table, std::vector<int> rows);

// The ".dat" text: one "key=value" line per entry, each ended by CR LF.
std::string FormatReplaceTable(const TReplaceTable& table);
// Lines end at CR LF, CR or LF; the key is the text before a line's first "=", the value the rest;
// a line without "=" is all value.
TReplaceTable ParseReplaceTable(std::string_view text);

// Both throw TPictorError naming the file.
void SaveReplaceTable(const std::string& path, const TReplaceTable& table);
TReplaceTable LoadReplaceTable(const std::string& path);

// The name chosen in the save dialog with its extension replaced by ".dat".
std::string ReplaceTableFileName(const std::string& chosen);

} // namespace pictor
