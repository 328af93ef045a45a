#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// Adjustment presets (".cch", ".ccb"): one line per parameter, the track bar's position in decimal, each
// ended by CR LF; no header.
std::string FormatPreset(const std::vector<int>& positions);

// The name with `extension` (".cch") appended unless it already ends with it, without regard to case.
std::string WithPresetExtension(const std::string& path, std::string_view extension);

// A preset's lines; breaks may be CR LF, CR or LF, and a break at the very end ends the last line.
std::vector<std::string> PresetLines(std::string_view bytes);

// Line `index` (from 0) as a number. Throws TPictorError naming `file` when the line is missing or is no
// whole number.
int PresetValue(const std::vector<std::string>& lines, std::size_t index, const std::string& file);

} // namespace pictor
