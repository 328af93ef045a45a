#pragma once
#include <cstddef>
#include <string_view>

namespace pictor {

// Markup names are ASCII: these compare without regard to case and leave every other byte alone.
inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

// CSS white space.
inline bool IsCssSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

inline bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (LowerAscii(a[k]) != LowerAscii(b[k])) return false;
    return true;
}

// Whether text at pos begins with upperWord (given in upper case).
inline bool MatchesNoCase(std::string_view text, std::size_t pos, std::string_view upperWord)
{
    if (pos + upperWord.size() > text.size()) return false;
    for (std::size_t k = 0; k < upperWord.size(); ++k)
        if (UpperAscii(text[pos + k]) != upperWord[k]) return false;
    return true;
}

} // namespace pictor
