#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pictor {

// Red in bits 0-7, green 8-15, blue 16-23; the top byte is always 0.
using TColor = std::uint32_t;

constexpr TColor RGB(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) { return int(c & 0xFF); }
constexpr int GetGValue(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return int((c >> 16) & 0xFF); }

// The sixteen colour names, lower case, in the program's order.
struct TNamedColor {
    std::string_view Name;
    TColor Color;
};
extern const TNamedColor NamedColors[16];

// Throws TPictorError (quoting the text) when an rgb() component is not a number.
TColor TextToColor(std::string_view text);
TColor NamedColorToColor(std::string_view text);
int HexPairToByte(std::string_view pair);
// Reads SaveWithLowerCase from the options.
std::string ColorByteToHex(int value);
// "#RRGGBB" (case as ColorByteToHex).
std::string ColorToCode(TColor color);
// "#RRGGBB" in upper case whatever the option: for reports.
std::string ColorToUpperCode(TColor color);

} // namespace pictor
