#pragma once
#include <cstdint>
#include <string>

namespace pictor::utf8 {

// Strict decoding: overlong forms, surrogates and values above U+10FFFF are invalid.
// Returns the code point and moves p past it, or returns -1 and moves p past the one offending byte.
inline std::int32_t Decode(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char c = *p;
    if (c < 0x80) { ++p; return c; }
    int length;
    std::int32_t value, minimum;
    if (c >= 0xC2 && c <= 0xDF) { length = 2; value = c & 0x1F; minimum = 0x80; }
    else if (c >= 0xE0 && c <= 0xEF) { length = 3; value = c & 0x0F; minimum = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { length = 4; value = c & 0x07; minimum = 0x10000; }
    else { ++p; return -1; }
    if (end - p < length) { ++p; return -1; }
    for (int k = 1; k < length; ++k) {
        const unsigned char t = p[k];
        if ((t & 0xC0) != 0x80) { ++p; return -1; }
        value = (value << 6) | (t & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) { ++p; return -1; }
    p += length;
    return value;
}

inline void Append(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace pictor::utf8
