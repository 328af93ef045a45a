#include "document/ColorLiterals.h"
#include "base/AsciiText.h"

#include "document/CssColorFunction.h"
#include "document/CssColorNames.h"
#include "base/PictorError.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace pictor {

const TNamedColor NamedColors[16] = {
    {"aqua", RGB(0, 255, 255)},     {"black", RGB(0, 0, 0)},        {"blue", RGB(0, 0, 255)},
    {"fuchsia", RGB(255, 0, 255)},  {"gray", RGB(128, 128, 128)},   {"green", RGB(0, 128, 0)},
    {"lime", RGB(0, 255, 0)},       {"maroon", RGB(128, 0, 0)},     {"navy", RGB(0, 0, 128)},
    {"olive", RGB(128, 128, 0)},    {"purple", RGB(128, 0, 128)},   {"silver", RGB(192, 192, 192)},
    {"teal", RGB(0, 128, 128)},     {"white", RGB(255, 255, 255)},  {"yellow", RGB(255, 255, 0)},
    {"red", RGB(255, 0, 0)},
};

namespace {


bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(text[i]) != prefix[i]) return false;
    return true;
}

size_t FindNoCase(std::string_view text, std::string_view lowerNeedle)
{
    for (size_t i = 0; i + lowerNeedle.size() <= text.size(); ++i)
        if (StartsWithNoCase(text.substr(i), lowerNeedle)) return i;
    return std::string_view::npos;
}

// A number, a number and "%", or a function a browser works out (var(), calc()...): what the comma form
// of rgba() takes for an alpha, as a browser reads it.
bool CommasTakeAlpha(std::string_view alpha)
{
    if (alpha.ends_with(')')) return true;
    if (alpha.ends_with('%')) alpha.remove_suffix(1);
    if (alpha.starts_with('+') || alpha.starts_with('-')) alpha.remove_prefix(1);
    // from_chars would also take "inf" and "nan"; CSS numbers start with a digit or ".".
    if (alpha.empty() || !(std::isdigit(static_cast<unsigned char>(alpha[0])) || alpha[0] == '.')) return false;
    double value = 0;
    const auto [end, ec] = std::from_chars(alpha.data(), alpha.data() + alpha.size(), value);
    return ec == std::errc() && end == alpha.data() + alpha.size();
}

[[noreturn]] void ThrowNotANumber(std::string_view colorText, std::string_view component)
{
    throw TPictorError("", "invalid colour \"" + std::string(colorText) + "\": \"" + std::string(component) +
                               "\" is not a number");
}

std::optional<int> ParseInteger(std::string_view s)
{
    std::string_view digits = s;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<int> ParsePercentComponent(std::string_view s)
{
    // Locale-independent: "." is the decimal point whatever the environment says.
    std::string_view number = s;
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double p = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), p, std::chars_format::general);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    double v = std::trunc(p * 0.01 * 255);
    if (!std::isfinite(v) || std::fabs(v) >= 9.2e18) return std::nullopt;
    return int(static_cast<long long>(v) & 0xFF);
}

// The oldest reading of rgb(): three components up to ",", "," and ")", all integers or, with a "%"
// anywhere, all percentages; low eight bits kept, percentages truncated. Strict: nothing unless all three
// are there and are numbers. Otherwise a component never terminated stays 0 and one that is not a
// number throws.
std::optional<TColor> RgbFunctionToColor(std::string_view text, bool strict)
{
    const bool percent = text.find('%') != std::string_view::npos;
    std::string_view rest = text.substr(text.find('(') + 1);
    int c[3] = {0, 0, 0};
    const char terminators[3] = {',', ',', ')'};
    for (int k = 0; k < 3; ++k) {
        size_t end = rest.find(terminators[k]);
        if (end == std::string_view::npos) {
            if (strict) return std::nullopt;
            continue;
        }
        std::string component(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        if (percent) std::erase(component, '%');
        const std::optional<int> value = percent ? ParsePercentComponent(component) : ParseInteger(component);
        if (!value) {
            if (strict) return std::nullopt;
            ThrowNotANumber(text, component);
        }
        c[k] = *value;
    }
    return RGB(c[0], c[1], c[2]);
}

TColorValue Opaque(TColor color)
{
    return {color, TAlphaForm::None, {}};
}

std::optional<TColorValue> CssFunctionValue(std::string_view original)
{
    while (!original.empty() && (original.front() == ' ' || original.front() == '\t')) original.remove_prefix(1);
    while (!original.empty() && (original.back() == ' ' || original.back() == '\t')) original.remove_suffix(1);
    const auto css = ParseCssColorFunction(original);
    if (!css) return std::nullopt;
    return TColorValue{css->Color, css->Alpha.empty() ? TAlphaForm::None : TAlphaForm::Function,
                       std::string(css->Alpha)};
}

} // namespace

int HexPairToByte(std::string_view pair)
{
    int value = 0;
    if (pair.size() != 2) return 255;
    for (char ch : pair) {
        int d;
        if (ch >= '0' && ch <= '9') d = ch - '0';
        else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
        else return 255;
        value = value * 16 + d;
    }
    return value;
}

TColor NamedColorToColor(std::string_view text)
{
    if (text.empty()) return 0;
    switch (LowerAscii(text[0])) {
    case 'a': return NamedColors[0].Color;
    case 'f': return NamedColors[3].Color;
    case 'l': return NamedColors[6].Color;
    case 'm': return NamedColors[7].Color;
    case 'n': return NamedColors[8].Color;
    case 'o': return NamedColors[9].Color;
    case 'p': return NamedColors[10].Color;
    case 'r': return NamedColors[15].Color;
    case 's': return NamedColors[11].Color;
    case 't': return NamedColors[12].Color;
    case 'w': return NamedColors[13].Color;
    case 'y': return NamedColors[14].Color;
    case 'b':
        if (StartsWithNoCase(text, "black")) return NamedColors[1].Color;
        if (StartsWithNoCase(text, "blue")) return NamedColors[2].Color;
        return 0;
    case 'g':
        if (StartsWithNoCase(text, "gray")) return NamedColors[4].Color;
        if (StartsWithNoCase(text, "green")) return NamedColors[5].Color;
        return 0;
    default: return 0;
    }
}

TColorValue ReadColorText(std::string_view original)
{
    std::string text(original);
    std::erase(text, ' ');
    if (!text.empty() && text[0] == '#') {
        const std::string_view t = text;
        auto pair = [&](int i) { return HexPairToByte(t.substr(size_t(i), 2)); };
        auto doubled = [&](int i) { return HexPairToByte(std::string{t[size_t(i)], t[size_t(i)]}); };
        switch (t.size()) {
        case 7: return Opaque(RGB(pair(1), pair(3), pair(5)));
        case 4: return Opaque(RGB(doubled(1), doubled(2), doubled(3)));
        case 9: return {RGB(pair(1), pair(3), pair(5)), TAlphaForm::Hex, std::string(t.substr(7, 2))};
        case 5: return {RGB(doubled(1), doubled(2), doubled(3)), TAlphaForm::Hex, std::string{t[4], t[4]}};
        default: return Opaque(0);
        }
    }
    if (FindNoCase(text, "rgb(") != std::string_view::npos) {
        if (const auto oldest = RgbFunctionToColor(text, true)) return Opaque(*oldest);
        if (auto css = CssFunctionValue(original)) return std::move(*css);
        return Opaque(*RgbFunctionToColor(text, false));
    }
    if (StartsWithNoCase(text, "rgba(") || StartsWithNoCase(text, "hsl(") || StartsWithNoCase(text, "hsla("))
        if (auto css = CssFunctionValue(original)) return std::move(*css);
    if (const int named = CssNamedColorIndex(text); named >= 0) return Opaque(CssNamedColors[named].Color);
    return Opaque(NamedColorToColor(text));
}

TColorValue ReadSpaceColorText(std::string_view text)
{
    const auto css = ParseCssSpaceColor(text);
    if (!css) return {0, TAlphaForm::OwnSpace, {}};
    return {SrgbToDisplay(SpaceToSrgb(css->Space, css->Coordinates)), TAlphaForm::OwnSpace, std::string(css->Alpha)};
}

TColor TextToColor(std::string_view text)
{
    return ReadColorText(text).Color;
}

std::string ColorByteToHex(int value, bool lowerCase)
{
    static const char upper[] = "0123456789ABCDEF";
    static const char lower[] = "0123456789abcdef";
    const char* digits = lowerCase ? lower : upper;
    std::string out;
    if (value >= 16) {
        std::string rev;
        for (unsigned v = unsigned(value); v; v /= 16) rev.insert(rev.begin(), digits[v % 16]);
        out = rev;
    } else {
        out = {'0', digits[value & 0xF]};
    }
    return out;
}

std::string ColorToCode(TColor color, bool lowerCase)
{
    return "#" + ColorByteToHex(GetRValue(color), lowerCase) + ColorByteToHex(GetGValue(color), lowerCase) +
           ColorByteToHex(GetBValue(color), lowerCase);
}

std::string ColorToText(TColor color, TAlphaForm form, std::string_view alpha, bool lowerCase)
{
    switch (form) {
    case TAlphaForm::None: return ColorToCode(color, lowerCase);
    case TAlphaForm::Hex: {
        std::string code = ColorToCode(color, lowerCase);
        for (char c : alpha) code += lowerCase ? LowerAscii(c) : char((c >= 'a' && c <= 'z') ? c - 32 : c);
        return code;
    }
    case TAlphaForm::OwnSpace:
    case TAlphaForm::Function: {
        const std::string r = std::to_string(GetRValue(color)), g = std::to_string(GetGValue(color)),
                          b = std::to_string(GetBValue(color));
        // "none" and the like need the slash form.
        if (CommasTakeAlpha(alpha)) return "rgba(" + r + ", " + g + ", " + b + ", " + std::string(alpha) + ")";
        return "rgb(" + r + " " + g + " " + b + " / " + std::string(alpha) + ")";
    }
    }
    return ColorToCode(color, lowerCase);
}

bool IsIgnoredColorAttribute(std::string_view value)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
    while (!value.empty() && space(value.front())) value.remove_prefix(1);
    while (!value.empty() && space(value.back())) value.remove_suffix(1);
    return value.empty() || (value.size() == 11 && StartsWithNoCase(value, "transparent"));
}

int AlphaToByte(TAlphaForm form, std::string_view alpha)
{
    if (form == TAlphaForm::Hex) return HexPairToByte(alpha);
    if (alpha.empty() || form == TAlphaForm::None) return 255;
    const std::string probe = "rgb(0 0 0 / " + std::string(alpha) + ")";
    const auto css = ParseCssColorFunction(probe);
    return css ? int(std::floor(css->Opacity * 255 + 0.5)) : 255;
}

std::string ColorToUpperCode(TColor color)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "#000000";
    const int c[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    for (int i = 0; i < 3; ++i) {
        out[1 + 2 * i] = digits[c[i] >> 4];
        out[2 + 2 * i] = digits[c[i] & 0xF];
    }
    return out;
}

} // namespace pictor
