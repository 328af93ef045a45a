#include "document/CssColorFunction.h"
#include "base/AsciiText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace pictor {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

enum class TKind { Number, Percent, Dimension, None, Function };

struct TComponent {
    TKind Kind = TKind::Number;
    double Value = 0;
    std::string_view Unit;
    std::string_view Text;
};

// The length of the CSS number at s[i], or 0.
size_t NumberLength(std::string_view s, size_t i)
{
    const size_t n = s.size();
    size_t j = i;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    size_t digits = 0;
    while (j < n && IsDigit(s[j])) ++j, ++digits;
    if (j + 1 < n && s[j] == '.' && IsDigit(s[j + 1])) {
        ++j;
        while (j < n && IsDigit(s[j])) ++j, ++digits;
    }
    if (digits == 0) return 0;
    if (j < n && (s[j] == 'e' || s[j] == 'E')) {
        size_t k = j + 1;
        if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
        if (k < n && IsDigit(s[k])) {
            while (k < n && IsDigit(s[k])) ++k;
            j = k;
        }
    }
    return j - i;
}

// Moves i past white space and comments (a comment is white space); whether there were any.
bool SkipSpace(std::string_view s, size_t& i)
{
    const size_t from = i;
    while (i < s.size()) {
        if (IsCssSpace(s[i])) {
            ++i;
        } else if (s.substr(i, 2) == "/*") {
            const size_t close = s.find("*/", i + 2);
            i = close == std::string_view::npos ? s.size() : close + 2;
        } else {
            break;
        }
    }
    return i > from;
}

// The text between a function's "(" and its last ")", white space after it aside; nothing without one.
std::optional<std::string_view> Arguments(std::string_view text, size_t open)
{
    size_t close = text.size();
    while (close > open && IsCssSpace(text[close - 1])) --close;
    if (close == open + 1 || text[close - 1] != ')') return std::nullopt;
    return text.substr(open + 1, close - open - 2);
}

// Functions that stand for a number a browser works out: a component written with one is kept as it is.
bool IsMathFunction(std::string_view name)
{
    for (std::string_view f : {"var", "calc", "env", "min", "max", "clamp", "round", "mod", "rem", "abs", "sign"})
        if (EqualsNoCase(name, f)) return true;
    return false;
}

// One component at s[i]; i moves past it.
std::optional<TComponent> ReadComponent(std::string_view s, size_t& i)
{
    const size_t start = i;
    size_t word = i;
    while (word < s.size() && (IsLetter(s[word]) || (word > i && s[word] == '-'))) ++word;
    if (word > i) {
        const std::string_view name = s.substr(i, word - i);
        if (word < s.size() && s[word] == '(' && IsMathFunction(name)) {
            size_t depth = 0, j = word;
            for (; j < s.size(); ++j) {
                if (s[j] == '(') ++depth;
                else if (s[j] == ')' && --depth == 0) break;
            }
            if (j == s.size()) return std::nullopt;
            i = j + 1;
            return TComponent{TKind::Function, 0, {}, s.substr(start, i - start)};
        }
        if (!EqualsNoCase(name, "none")) return std::nullopt;
        i = word;
        return TComponent{TKind::None, 0, {}, s.substr(start, 4)};
    }
    const size_t length = NumberLength(s, i);
    if (length == 0) return std::nullopt;
    std::string_view number = s.substr(i, length);
    if (number.front() == '+') number.remove_prefix(1);
    TComponent c;
    // Locale-independent: "." is the decimal point whatever the environment says.
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), c.Value);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(c.Value)) return std::nullopt;
    i += length;
    if (i < s.size() && s[i] == '%') {
        c.Kind = TKind::Percent;
        ++i;
    } else if (i < s.size() && IsLetter(s[i])) {
        const size_t unit = i;
        while (i < s.size() && IsLetter(s[i])) ++i;
        c.Kind = TKind::Dimension;
        c.Unit = s.substr(unit, i - unit);
    }
    c.Text = s.substr(start, i - start);
    return c;
}

// An alpha a function gives is not known here: taken as opaque.
bool ReadAlpha(const TComponent& alpha, TCssColor& result)
{
    if (alpha.Kind == TKind::Dimension) return false;
    result.Alpha = alpha.Text;
    result.Opacity = alpha.Kind == TKind::Function
                         ? 1.0
                         : std::clamp(alpha.Kind == TKind::Percent ? alpha.Value / 100 : alpha.Value, 0.0, 1.0);
    return true;
}

int ToByte(double v)
{
    return int(std::floor(std::clamp(v, 0.0, 255.0) + 0.5));
}

std::optional<double> HueDegrees(const TComponent& c)
{
    switch (c.Kind) {
    case TKind::Number: return c.Value;
    case TKind::None: return 0.0;
    case TKind::Percent:
    case TKind::Function: return std::nullopt;
    case TKind::Dimension:
        if (EqualsNoCase(c.Unit, "deg")) return c.Value;
        if (EqualsNoCase(c.Unit, "grad")) return c.Value * 0.9;
        if (EqualsNoCase(c.Unit, "rad")) return c.Value * 180.0 / std::numbers::pi;
        if (EqualsNoCase(c.Unit, "turn")) return c.Value * 360.0;
        return std::nullopt;
    }
    return std::nullopt;
}

TColor HslToColor(double hue, double saturation, double lightness)
{
    double h = std::fmod(hue, 360.0);
    if (h < 0) h += 360.0;
    const double s = std::clamp(saturation / 100.0, 0.0, 1.0);
    const double l = std::clamp(lightness / 100.0, 0.0, 1.0);
    auto f = [&](double n) {
        const double k = std::fmod(n + h / 30.0, 12.0);
        const double a = s * std::min(l, 1.0 - l);
        return l - a * std::max(-1.0, std::min({k - 3.0, 9.0 - k, 1.0}));
    };
    return RGB(ToByte(f(0) * 255.0), ToByte(f(8) * 255.0), ToByte(f(4) * 255.0));
}

} // namespace

std::optional<TCssColor> ParseCssColorFunction(std::string_view text)
{
    const size_t open = text.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    const std::string_view name = text.substr(0, open);
    const bool hsl = EqualsNoCase(name, "hsl") || EqualsNoCase(name, "hsla");
    if (!hsl && !EqualsNoCase(name, "rgb") && !EqualsNoCase(name, "rgba")) return std::nullopt;
    const auto arguments = Arguments(text, open);
    if (!arguments) return std::nullopt;
    const std::string_view inner = *arguments;

    TComponent parts[4];
    int count = 0, commas = 0;
    bool spaced = false, slash = false;
    size_t i = 0;
    auto skipSpace = [&] { return SkipSpace(inner, i); };
    skipSpace();
    while (true) {
        if (count == 4) return std::nullopt;
        const auto part = ReadComponent(inner, i);
        if (!part) return std::nullopt;
        parts[count++] = *part;
        const bool space = skipSpace();
        if (i == inner.size()) break;
        if (slash) return std::nullopt;
        if (inner[i] == ',') {
            ++commas;
            ++i;
            skipSpace();
        } else if (inner[i] == '/') {
            slash = true;
            ++i;
            skipSpace();
        } else if (space) {
            spaced = true;
        } else {
            return std::nullopt;
        }
    }
    const bool legacy = commas > 0;
    if (legacy ? (spaced || slash || commas != count - 1 || count < 3)
               : (count != (slash ? 4 : 3)))
        return std::nullopt;
    if (legacy && std::any_of(parts, parts + count, [](const TComponent& c) { return c.Kind == TKind::None; }))
        return std::nullopt;

    if (std::any_of(parts, parts + 3, [](const TComponent& c) { return c.Kind == TKind::Function; })) return std::nullopt;

    TCssColor result;
    if (count == 4 && !ReadAlpha(parts[3], result)) return std::nullopt;
    if (hsl) {
        const auto hue = HueDegrees(parts[0]);
        if (!hue) return std::nullopt;
        double sl[2];
        for (int k = 1; k <= 2; ++k) {
            const TComponent& c = parts[k];
            if (c.Kind == TKind::Dimension || (legacy && c.Kind != TKind::Percent)) return std::nullopt;
            sl[k - 1] = c.Value;
        }
        result.Color = HslToColor(*hue, sl[0], sl[1]);
        return result;
    }
    int rgb[3];
    for (int k = 0; k < 3; ++k) {
        const TComponent& c = parts[k];
        if (c.Kind == TKind::Dimension || (legacy && c.Kind != parts[0].Kind)) return std::nullopt;
        rgb[k] = ToByte(c.Kind == TKind::Percent ? c.Value * 255 / 100 : c.Value);
    }
    result.Color = RGB(rgb[0], rgb[1], rgb[2]);
    return result;
}

namespace {

struct TSpaceFunction {
    std::string_view Name;
    TColorSpace Space;
};
constexpr TSpaceFunction SpaceFunctions[] = {
    {"lab", TColorSpace::Lab},     {"lch", TColorSpace::Lch}, {"oklab", TColorSpace::Oklab},
    {"oklch", TColorSpace::Oklch}, {"hwb", TColorSpace::Hwb},
};
constexpr TSpaceFunction ColorSpaces[] = {
    {"srgb", TColorSpace::Srgb},           {"srgb-linear", TColorSpace::SrgbLinear},
    {"display-p3", TColorSpace::DisplayP3}, {"rec2020", TColorSpace::Rec2020},
    {"a98-rgb", TColorSpace::A98Rgb},       {"prophoto-rgb", TColorSpace::ProPhotoRgb},
    {"xyz", TColorSpace::XyzD65},           {"xyz-d65", TColorSpace::XyzD65},
    {"xyz-d50", TColorSpace::XyzD50},
};

// Which component is a hue (-1: none), and what 100% of each is.
int HueIndex(TColorSpace space)
{
    switch (space) {
    case TColorSpace::Lch:
    case TColorSpace::Oklch: return 2;
    case TColorSpace::Hwb: return 0;
    default: return -1;
    }
}
TTriple FullPercent(TColorSpace space)
{
    switch (space) {
    case TColorSpace::Lab: return {100, 125, 125};
    case TColorSpace::Lch: return {100, 150, 0};
    case TColorSpace::Oklab: return {1, 0.4, 0.4};
    case TColorSpace::Oklch: return {1, 0.4, 0};
    case TColorSpace::Hwb: return {0, 100, 100};
    default: return {1, 1, 1};
    }
}

// A space function's parts as written.
struct TSpaceText {
    std::string_view Head;  // the name, or for color() from the name to the end of its space, as written
    TCssSpaceColor Color;
};

std::optional<TSpaceText> ReadSpaceText(std::string_view text)
{
    const size_t open = text.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    const std::string_view name = text.substr(0, open);
    const auto arguments = Arguments(text, open);
    if (!arguments) return std::nullopt;
    const std::string_view inner = *arguments;
    TSpaceText result;
    TCssSpaceColor& color = result.Color;
    size_t i = 0;
    SkipSpace(inner, i);
    if (EqualsNoCase(name, "color")) {
        size_t end = i;
        while (end < inner.size() && (IsLetter(inner[end]) || IsDigit(inner[end]) || inner[end] == '-')) ++end;
        const std::string_view spaceName = inner.substr(i, end - i);
        const auto known = std::find_if(std::begin(ColorSpaces), std::end(ColorSpaces),
                                        [&](const TSpaceFunction& s) { return EqualsNoCase(spaceName, s.Name); });
        if (known == std::end(ColorSpaces)) return std::nullopt;
        color.Space = known->Space;
        i = end;
        if (!SkipSpace(inner, i)) return std::nullopt;
        result.Head = text.substr(0, open + 1 + end);
    } else {
        const auto known = std::find_if(std::begin(SpaceFunctions), std::end(SpaceFunctions),
                                        [&](const TSpaceFunction& s) { return EqualsNoCase(name, s.Name); });
        if (known == std::end(SpaceFunctions)) return std::nullopt;
        color.Space = known->Space;
        result.Head = name;
    }
    const int hue = HueIndex(color.Space);
    const TTriple full = FullPercent(color.Space);
    for (int k = 0; k < 3; ++k) {
        const auto part = ReadComponent(inner, i);
        if (!part) return std::nullopt;
        double& value = color.Coordinates[size_t(k)];
        if (k == hue) {
            const auto degrees = HueDegrees(*part);
            if (!degrees) return std::nullopt;
            value = *degrees;
        } else if (part->Kind == TKind::Percent) {
            value = part->Value / 100 * full[size_t(k)];
        } else if (part->Kind == TKind::Number || part->Kind == TKind::None) {
            value = part->Value;
        } else {
            return std::nullopt;
        }
        if (!SkipSpace(inner, i) && k < 2) return std::nullopt;
    }
    if (i < inner.size() && inner[i] == '/') {
        ++i;
        SkipSpace(inner, i);
        const auto alpha = ReadComponent(inner, i);
        TCssColor opacity;
        if (!alpha || !ReadAlpha(*alpha, opacity)) return std::nullopt;
        color.Alpha = opacity.Alpha;
        color.Opacity = opacity.Opacity;
        SkipSpace(inner, i);
    }
    if (i != inner.size()) return std::nullopt;
    // Lightness and chroma out of range are clamped where they are read.
    TTriple& c = color.Coordinates;
    switch (color.Space) {
    case TColorSpace::Lab: c[0] = std::clamp(c[0], 0.0, 100.0); break;
    case TColorSpace::Oklab: c[0] = std::clamp(c[0], 0.0, 1.0); break;
    case TColorSpace::Lch: c[0] = std::clamp(c[0], 0.0, 100.0), c[1] = std::max(c[1], 0.0); break;
    case TColorSpace::Oklch: c[0] = std::clamp(c[0], 0.0, 1.0), c[1] = std::max(c[1], 0.0); break;
    default: break;
    }
    return result;
}

// A coordinate written with three decimals more than it needs to be within tolerance of its value: a
// change and its undoing (two inverts) then come back within far less than the tolerance, and so to
// the digits first written.
void AppendCoordinate(std::string& out, double value, double tolerance)
{
    if (!std::isfinite(value)) value = 0;  // only from numbers far beyond any colour
    int decimals = 0;
    while (decimals < 10 && std::fabs(std::round(value * std::pow(10.0, decimals)) / std::pow(10.0, decimals) - value) > tolerance)
        ++decimals;
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals + 3);
    std::string_view number(buffer, size_t(end - buffer));
    if (number.find('.') != std::string_view::npos) {
        while (number.back() == '0') number.remove_suffix(1);
        if (number.back() == '.') number.remove_suffix(1);
    }
    if (number == "-0") number = "0";
    out += number;
}

} // namespace

bool IsCssSpaceFunction(std::string_view name)
{
    return EqualsNoCase(name, "color") ||
           std::any_of(std::begin(SpaceFunctions), std::end(SpaceFunctions),
                       [&](const TSpaceFunction& s) { return EqualsNoCase(name, s.Name); });
}

std::optional<TCssSpaceColor> ParseCssSpaceColor(std::string_view text)
{
    const auto read = ReadSpaceText(text);
    if (!read) return std::nullopt;
    return read->Color;
}

std::string WriteCssSpaceColor(std::string_view text, const TTriple& srgb)
{
    const auto read = ReadSpaceText(text);
    if (!read) return std::string(text);
    const TColorSpace space = read->Color.Space;
    const int hue = HueIndex(space);
    TTriple c = SrgbToSpace(space, srgb, hue >= 0 ? read->Color.Coordinates[size_t(hue)] : 0);
    if (hue >= 0) {
        c[size_t(hue)] = std::fmod(c[size_t(hue)], 360.0);
        if (c[size_t(hue)] < 0) c[size_t(hue)] += 360;
    }
    const bool toHundred = space == TColorSpace::Lab || space == TColorSpace::Lch || space == TColorSpace::Hwb;
    // A conversion there and back leaves noise around zero that would be written as digits, and give a
    // grey a hue of its own.
    for (size_t k = 0; k < 3; ++k)
        if (int(k) != hue && std::fabs(c[k]) < (toHundred ? 1e-3 : 1e-5)) c[k] = 0;
    if (hue == 2 && c[1] == 0) c[2] = read->Color.Coordinates[2];
    std::string out(read->Head);
    out += read->Head.find('(') == std::string_view::npos ? '(' : ' ';  // after the name, or color()'s space
    for (size_t k = 0; k < 3; ++k) {
        if (k > 0) out += ' ';
        AppendCoordinate(out, c[k], int(k) == hue || toHundred ? 1e-7 : 1e-9);
        if (space == TColorSpace::Hwb && k > 0) out += '%';
    }
    if (!read->Color.Alpha.empty()) {
        out += " / ";
        out += read->Color.Alpha;
    }
    out += ')';
    return out;
}

} // namespace pictor
