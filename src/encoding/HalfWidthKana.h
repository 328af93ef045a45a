#pragma once
#include "encoding/PzConv.h"

#include <string>
#include <string_view>

namespace pictor {

// Turns the half-width katakana of Shift-JIS text into full-width ones as the kana mode asks
// (ktZenWithDaku merges a following voiced or semi-voiced mark where the merged kana exists).
// Trail bytes of two-byte characters are never taken for katakana. Not called with ktNone.
std::string WidenHalfWidthKana(std::string_view sjis, TJisKanaConvType mode);

} // namespace pictor
