#pragma once
#include "base/Color.h"

#include <string>
#include <string_view>

namespace pictor {

// The sixteen colour names, lower case, in the program's order.
struct TNamedColor {
    std::string_view Name;
    TColor Color;
};
extern const TNamedColor NamedColors[16];

// How a colour text gives its alpha, which no adjustment changes.
enum class TAlphaForm : std::uint8_t {
    None,
    Hex,       // "#rgba" or "#rrggbbaa": Alpha holds the two digits ("#rgba"'s one doubled)
    Function,  // rgb(), rgba(), hsl() or hsla() with an alpha: Alpha holds it as written
    OwnSpace,  // lab(), oklch(), color()...: written back in its own function and space; Alpha as written or empty
};

struct TColorValue {
    TColor Color = 0;
    TAlphaForm AlphaForm = TAlphaForm::None;
    std::string Alpha;
};

// Throws TPictorError (quoting the text) when an rgb() component is not a number.
TColorValue ReadColorText(std::string_view text);
// lab(), lch(), oklab(), oklch(), hwb() or color() as shown on an sRGB screen; black when CSS would not take it.
TColorValue ReadSpaceColorText(std::string_view text);
TColor TextToColor(std::string_view text);
TColor NamedColorToColor(std::string_view text);
int HexPairToByte(std::string_view pair);
// Two hexadecimal digits, upper case unless lowerCase.
std::string ColorByteToHex(int value, bool lowerCase);
// "#RRGGBB" (case as ColorByteToHex).
std::string ColorToCode(TColor color, bool lowerCase);
// An HTML colour attribute's value that a browser ignores: empty or "transparent".
bool IsIgnoredColorAttribute(std::string_view value);
// What a changed colour is written as: "#RRGGBB", followed by the alpha digits for TAlphaForm::Hex;
// "rgba(R, G, B, A)" for TAlphaForm::Function ("rgb(R G B / A)" for an alpha commas do not take). Hex
// digits upper case unless lowerCase. Not for TAlphaForm::OwnSpace (WriteCssSpaceColor).
std::string ColorToText(TColor color, TAlphaForm form, std::string_view alpha, bool lowerCase);
// The alpha as 0-255 (255 for none).
int AlphaToByte(TAlphaForm form, std::string_view alpha);
// "#RRGGBB" in upper case whatever the option: for reports.
std::string ColorToUpperCode(TColor color);

} // namespace pictor
