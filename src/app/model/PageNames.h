#pragma once
#include <string_view>

namespace pictor {

// A page that may be opened from the command line or by a drop: its extension is exactly ".htm",
// ".html" or ".shtml", compared with case.
bool IsHtmlPageName(std::string_view path);

} // namespace pictor
