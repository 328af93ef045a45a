#pragma once
#include <string_view>

namespace pictor {

enum TCharCode : int {
    ccEuc = 1,
    ccSjis = 2,
    ccJis = 3,
    ccUtf8 = 4,
    ccUtf16LE = 5,
    ccUtf16BE = 6,
    ccBinary = 7,
};

// "EUC-JP", "Shift-JIS", "ISO-2022-JP", "UTF-8" (the last is the command-line tool's; the status bar shows none).
std::string_view CharCodeName(int code);

inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// How many bytes the character at p occupies. Shift-JIS: a lead byte pairs with whatever follows.
// UTF-8: a multi-byte sequence is stepped over whole, and an ASCII byte is always a character of its own.
inline int CharLength(const char* p, const char* end, bool utf8)
{
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x80) return 1;
    if (!utf8) return (IsSjisLeadByte(c) && p + 1 < end) ? 2 : 1;
    const int want = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    int n = 1;
    while (n < want && p + n < end && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
    return n;
}

} // namespace pictor
