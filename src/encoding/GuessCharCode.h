#pragma once
#include "encoding/CharCode.h"

#include <string_view>

namespace pictor {

struct TCharCodeScores {
    long long Euc = 0, Sjis = 0, Jis = 0, Utf8 = 0;
};

TCharCodeScores CharCodeScores(std::string_view text);
// One of ccEuc, ccSjis, ccJis, ccUtf8.
TCharCode GuessCharCode(std::string_view text);
// Valid UTF-8 holding at least one multi-byte sequence (a Shift-JIS guess that is really UTF-8).
bool IsMultiByteUtf8(std::string_view text);

} // namespace pictor
