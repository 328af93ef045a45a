#include "replace/ReplaceTable.h"

#include "base/FileIO.h"

#include <algorithm>
#include <filesystem>

namespace pictor {

namespace {

void SortUnique(std::vector<int>& rows, size_t size)
{
    std::erase_if(rows, [size](int row) { return row < 0 || size_t(row) >= size; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

TReplaceItem ParseLine(std::string_view line)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {{}, std::string(line)};
    return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

} // namespace

void AppendCopies(TReplaceTable& table, std::vector<int> rows)
{
    SortUnique(rows, table.size());
    table.reserve(table.size() + rows.size());
    for (int row : rows) table.push_back(table[size_t(row)]);
}

void RemoveRows(TReplaceTable& table, std::vector<int> rows)
{
    SortUnique(rows, table.size());
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) table.erase(table.begin() + *row);
}

std::string FormatReplaceTable(const TReplaceTable& table)
{
    std::string text;
    for (const TReplaceItem& item : table) text += item.Key + "=" + item.Value + "\r\n";
    return text;
}

TReplaceTable ParseReplaceTable(std::string_view text)
{
    TReplaceTable table;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        table.push_back(ParseLine(text.substr(start, end - start)));
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return table;
}

void SaveReplaceTable(const std::string& path, const TReplaceTable& table)
{
    WriteFileAtomic(path, FormatReplaceTable(table));
}

TReplaceTable LoadReplaceTable(const std::string& path) { return ParseReplaceTable(ReadFileBytes(path)); }

std::string ReplaceTableFileName(const std::string& chosen)
{
    return std::filesystem::path(chosen).replace_extension(".dat").string();
}

} // namespace pictor
