#pragma once
#include "encoding/CharCode.h"

#include <string>
#include <string_view>

namespace pictor {

enum TJisDetect { jdAscii = 0, jdBinary = 1, jdJisNew = 2, jdJisOld = 3, jdEuc = 4, jdSjis = 5, jdEucOrSjis = 6 };

// Leading bytes that the binary tests examine.
inline constexpr int BinaryCheckSize = 2048;

// Replaces text by its Shift-JIS form with CR LF line breaks (binary text stays as it is).
TCharCode NormalizeText(std::string& text);
TJisDetect DetectJisCode(std::string_view text);
// Only target jdSjis converts; the text comes back unchanged for any other.
std::string ConvertKanjiCode(std::string_view text, TJisDetect target);
std::string ConvertKanjiCodeFrom(std::string_view text, TJisDetect source, TJisDetect target);

} // namespace pictor
