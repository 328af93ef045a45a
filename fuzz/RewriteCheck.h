#pragma once
#include <string_view>

namespace pictor::fuzz {

// Loads text as a page (or a style sheet) in Shift-JIS and in UTF-8 mode, rewrites it with nothing
// changed and with every colour changed, and aborts when loading and rewriting disagree.
void CheckScanAndRewrite(std::string_view text, bool isPage);

} // namespace pictor::fuzz
