#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// "\n" and "\r" in a replacement value as line feed and carriage return.
std::string UnescapeReplacement(std::string_view value);

// One pass over text: at each position every key is tried in table order (ASCII letters without regard
// to case) and replaced by its value; the byte after is copied untried. Multi-byte characters are
// copied whole and never matched.
std::string ApplyReplacements(std::string_view text, const std::vector<std::string>& keys,
                              const std::vector<std::string>& values, bool utf8 = false);

} // namespace pictor
