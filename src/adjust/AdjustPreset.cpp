#include "adjust/AdjustPreset.h"

#include "adjust/ParameterRow.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cctype>

namespace pictor {

std::string FormatPreset(const std::vector<int>& positions)
{
    std::string text;
    for (const int position : positions) text += std::to_string(position) + "\r\n";
    return text;
}

std::string WithPresetExtension(const std::string& path, std::string_view extension)
{
    const bool hasIt = path.size() >= extension.size() &&
                       std::equal(extension.begin(), extension.end(), path.end() - std::ptrdiff_t(extension.size()),
                                  [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
    return hasIt ? path : path + std::string(extension);
}

std::vector<std::string> PresetLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        lines.emplace_back(bytes.substr(0, end));
        std::size_t next = end;
        if (next < bytes.size()) next += bytes.compare(next, 2, "\r\n") == 0 ? 2 : 1;
        bytes.remove_prefix(next);
    }
    return lines;
}

int PresetValue(const std::vector<std::string>& lines, std::size_t index, const std::string& file)
{
    const std::string number = std::to_string(index + 1);
    if (index >= lines.size()) throw TPictorError(file, "the preset has no line " + number);
    const auto value = ParseWholeNumber(lines[index]);
    if (!value) throw TPictorError(file, "line " + number + " of the preset is not a whole number: '" + lines[index] + "'");
    return *value;
}

} // namespace pictor
