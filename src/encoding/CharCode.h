#pragma once
#include <cstddef>
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
    // Kept as the bytes read and walked byte by byte: a page or sheet that declares an encoding of one byte
    // a character, or EUC-JP that the conversion would not give back.
    ccSingleByte = 8,
};

// "EUC-JP", "Shift-JIS", "ISO-2022-JP", "UTF-8", ...; "single-byte" for ccSingleByte, whose own name the
// file declares.
std::string_view CharCodeName(int code);

inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// How many bytes the character at p occupies. Shift-JIS: a lead byte pairs with whatever follows.
// UTF-8: a multi-byte sequence is stepped over whole, and an ASCII byte is always a character of its own;
// a single-byte text is walked the same way, as no ASCII byte of it belongs to another character either.
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

// The first of the bytes of set at or after from, npos when there is none.
inline std::size_t FindAnyByte(std::string_view text, std::size_t from, std::string_view set)
{
    if (set.size() == 1) return text.find(set[0], from);
    for (std::size_t i = from; i < text.size(); ++i)
        for (char c : set)
            if (text[i] == c) return i;
    return std::string_view::npos;
}

// The first position at or after from (a character boundary) where one of the ASCII bytes of set stands
// as a character of its own, never as the second byte of a Shift-JIS pair; npos when there is none.
inline std::size_t FindCharacter(std::string_view text, std::size_t from, std::string_view set, bool utf8)
{
    for (std::size_t boundary = from;;) {
        const std::size_t at = FindAnyByte(text, boundary, set);
        // In UTF-8 no multi-byte sequence holds an ASCII byte.
        if (utf8 || at == std::string_view::npos) return at;
        // The lead bytes right before it pair up from the last byte that ends a character (a byte that
        // is no lead byte ends one, as a character or as a trail); an odd one out takes this byte.
        std::size_t leads = 0;
        while (at - leads > boundary && IsSjisLeadByte(static_cast<unsigned char>(text[at - leads - 1]))) ++leads;
        if (leads % 2 == 0) return at;
        boundary = at + 1;
    }
}

// The first position at or after from (a character boundary) where the ASCII word starts a character;
// npos when there is none.
inline std::size_t FindWord(std::string_view text, std::size_t from, std::string_view word, bool utf8)
{
    for (std::size_t i = from;; ++i) {
        i = FindCharacter(text, i, word.substr(0, 1), utf8);
        if (i == std::string_view::npos || text.compare(i, word.size(), word) == 0) return i;
    }
}

} // namespace pictor
