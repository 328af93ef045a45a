#include "document/CssColorFunction.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace pictor {

namespace {

bool IsCssSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool EqualsNoCase(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) { return Lower(a) == b; });
}

enum class TKind { Number, Percent, Dimension, None };

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

// One component at s[i]; i moves past it.
std::optional<TComponent> ReadComponent(std::string_view s, size_t& i)
{
    const size_t start = i;
    size_t word = i;
    while (word < s.size() && IsLetter(s[word])) ++word;
    if (word > i) {
        if (!EqualsNoCase(s.substr(i, word - i), "none")) return std::nullopt;
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

bool ReadAlpha(const TComponent& alpha, TCssColor& result)
{
    if (alpha.Kind == TKind::Dimension) return false;
    result.Alpha = alpha.Text;
    result.Opacity = std::clamp(alpha.Kind == TKind::Percent ? alpha.Value / 100 : alpha.Value, 0.0, 1.0);
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
    case TKind::Percent: return std::nullopt;
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

} // namespace pictor
