#include "document/ChannelLists.h"

#include "base/AsciiText.h"
#include "document/CssColorFunction.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace pictor {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80; }

size_t SkipSpace(std::string_view s, size_t i)
{
    while (i < s.size() && IsCssSpace(s[i])) ++i;
    return i;
}

// The end of a number, percentage or dimension at s[i], or i when none stands there.
size_t ChannelEnd(std::string_view s, size_t i)
{
    size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    bool digits = false;
    for (; j < s.size() && (IsDigit(s[j]) || s[j] == '.'); ++j) digits = digits || IsDigit(s[j]);
    if (!digits) return i;
    while (j < s.size() && (IsLetter(s[j]) || IsDigit(s[j]) || s[j] == '%' || s[j] == '+' || s[j] == '-')) ++j;
    return j;
}

// From a "(" of args to after its matching ")", or npos.
size_t AfterClose(std::string_view args, size_t open)
{
    size_t depth = 0;
    for (size_t i = open; i < args.size(); ++i) {
        if (args[i] == '(') ++depth;
        else if (args[i] == ')' && --depth == 0) return i + 1;
    }
    return std::string_view::npos;
}

struct TReadingName {
    std::string_view Name;
    TChannelReading Reading;
};
constexpr TReadingName ReadingNames[] = {
    {"rgb", TChannelReading::Rgb},     {"rgba", TChannelReading::Rgb},    {"hsl", TChannelReading::Hsl},
    {"hsla", TChannelReading::Hsl},    {"hwb", TChannelReading::Hwb},     {"lab", TChannelReading::Lab},
    {"lch", TChannelReading::Lch},     {"oklab", TChannelReading::Oklab}, {"oklch", TChannelReading::Oklch},
};

// Hue, saturation and lightness of color, written with the fewest decimals that hsl() reads back as it.
std::array<std::string, 3> HslChannels(TColor color)
{
    const auto [h, s, l] = HslOf(color);
    std::array<std::string, 3> channels;
    for (int decimals = 0; decimals <= 6; ++decimals) {
        channels = {Decimal(h, decimals), Decimal(s, decimals) + "%", Decimal(l, decimals) + "%"};
        const auto back = ParseCssColorFunction("hsl(" + channels[0] + " " + channels[1] + " " + channels[2] + ")");
        if (back && back->Color == color) break;
    }
    return channels;
}

// A var() at s[i] without a fallback: its name, and i moved past it.
bool ReadVar(std::string_view s, size_t& i, std::string_view& name)
{
    size_t j = SkipSpace(s, i);
    if (!MatchesNoCase(s, j, "VAR(")) return false;
    j = SkipSpace(s, j + 4);
    if (s.substr(j, 2) != "--") return false;
    size_t end = j + 2;
    while (end < s.size() && IsNameChar(s[end])) ++end;
    const size_t close = SkipSpace(s, end);
    if (close >= s.size() || s[close] != ')') return false;
    name = s.substr(j, end - j);
    i = close + 1;
    return true;
}

// One channel at args[i]: var(--x), calc(var(--x) + var(--delta)), calc(var(--x) - 5%), another calc() or
// a literal. i moves past it; false when none stands there.
bool ReadChannel(std::string_view args, size_t& i, std::string_view& name, std::string_view& delta,
                 std::string_view& literal)
{
    if (ReadVar(args, i, name)) return true;
    if (MatchesNoCase(args, i, "CALC(")) {
        size_t j = i + 5;
        if (!ReadVar(args, j, name)) {
            name = {};
            i = AfterClose(args, i + 4);
            return i != std::string_view::npos;
        }
        j = SkipSpace(args, j);
        if (j < args.size() && (args[j] == '+' || args[j] == '-')) {
            j = SkipSpace(args, j + 1);
            if (!ReadVar(args, j, delta)) {
                const size_t end = ChannelEnd(args, j);
                literal = args.substr(j, end - j);
                j = end;
            }
        }
        j = SkipSpace(args, j);
        if (j >= args.size() || args[j] != ')') return false;
        i = j + 1;
        return true;
    }
    const size_t end = ChannelEnd(args, i);
    if (end == i) return false;
    i = end;
    return true;
}

// A number with its unit, and the decimals it is written with.
struct TNumber {
    double Value = 0;
    std::string_view Unit;
    int Decimals = 0;
};
std::optional<TNumber> ReadNumber(std::string_view value)
{
    TNumber number;
    size_t start = value.starts_with('+') ? 1 : 0;
    const auto [end, ec] = std::from_chars(value.data() + start, value.data() + value.size(), number.Value);
    if (ec != std::errc()) return std::nullopt;
    const size_t unitAt = size_t(end - value.data());
    number.Unit = value.substr(unitAt);
    const size_t dot = value.substr(0, unitAt).find('.');
    number.Decimals = dot == std::string_view::npos ? 0 : int(unitAt - dot - 1);
    return number;
}

// Degrees in a hue unit, which is deg when none is written.
double DegreesPer(std::string_view unit)
{
    if (EqualsNoCase(unit, "turn")) return 360;
    if (EqualsNoCase(unit, "grad")) return 0.9;
    if (EqualsNoCase(unit, "rad")) return 180 / 3.14159265358979323846;
    return 1;
}

} // namespace

std::string Decimal(double value, int decimals)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::array<double, 3> HslOf(TColor color)
{
    const double r = GetRValue(color) / 255.0, g = GetGValue(color) / 255.0, b = GetBValue(color) / 255.0;
    const double max = std::max({r, g, b}), min = std::min({r, g, b}), d = max - min;
    const double l = (max + min) / 2;
    const double s = d == 0 ? 0 : d / (1 - std::fabs(2 * l - 1));
    double h = 0;
    if (d != 0) {
        if (max == r) h = std::fmod((g - b) / d + 6, 6.0);
        else if (max == g) h = (b - r) / d + 2;
        else h = (r - g) / d + 4;
        h *= 60;
    }
    return {h, s * 100, l * 100};
}

TChannelReading ChannelReadingOf(std::string_view function)
{
    for (const TReadingName& known : ReadingNames)
        if (EqualsNoCase(function, known.Name)) return known.Reading;
    return TChannelReading::None;
}

bool IsSpaceReading(TChannelReading reading)
{
    return reading != TChannelReading::None && reading != TChannelReading::Rgb && reading != TChannelReading::Hsl;
}

std::string ChannelListFunction(std::string_view value, TChannelReading reading)
{
    const auto known = std::find_if(std::begin(ReadingNames), std::end(ReadingNames),
                                    [&](const TReadingName& r) { return r.Reading == reading; });
    std::string text(known->Name);
    text += '(';
    text += value;
    text += ')';
    return text;
}

std::string_view ChannelListOfFunction(std::string_view function)
{
    const size_t open = function.find('(');
    return function.substr(open + 1, function.size() - open - 2);
}

std::optional<TChannelSpans> ChannelSpans(std::string_view value)
{
    TChannelSpans spans{};
    char separator = '\0';
    size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        const size_t end = ChannelEnd(value, i);
        if (end == i) return std::nullopt;
        spans.From[k] = i;
        spans.To[k] = end;
        i = SkipSpace(value, end);
        if (k == 2) break;
        const char found = i < value.size() && value[i] == ',' ? ',' : (i > end ? ' ' : '\0');
        if (found == '\0' || (separator != '\0' && found != separator)) return std::nullopt;
        separator = found;
        if (found == ',') i = SkipSpace(value, i + 1);
    }
    if (i != value.size()) return std::nullopt;
    return spans;
}

TChannelListUse ChannelListVariable(std::string_view args)
{
    size_t i = SkipSpace(args, 0);
    if (!MatchesNoCase(args, i, "VAR(")) return {};
    const size_t open = i + 3;
    const size_t name = SkipSpace(args, open + 1);
    if (args.substr(name, 2) != "--") return {};
    size_t nameEnd = name + 2;
    while (nameEnd < args.size() && IsNameChar(args[nameEnd])) ++nameEnd;
    i = AfterClose(args, open);
    if (i == std::string_view::npos) return {};
    i = SkipSpace(args, i);
    if (i >= args.size()) return {};
    if (args[i] != ',' && args[i] != '/') return args[i] == ')' ? TChannelListUse{args.substr(name, nameEnd - name), {}} : TChannelListUse{};
    // One alpha after it, and nothing more: more would be channels of their own.
    size_t end = i + 1;
    for (size_t depth = 0; end < args.size(); ++end) {
        if (args[end] == '(') ++depth;
        else if (args[end] == ')' && depth-- == 0) break;
        else if (args[end] == ',' && depth == 0) return {};
    }
    const size_t alpha = SkipSpace(args, i + 1);
    size_t alphaEnd = std::max(alpha, end);
    while (alphaEnd > alpha && IsCssSpace(args[alphaEnd - 1])) --alphaEnd;
    return {args.substr(name, nameEnd - name), args.substr(alpha, alphaEnd - alpha)};
}

std::optional<TColor> ChannelListColor(std::string_view value, TChannelReading reading)
{
    if (reading == TChannelReading::None || !ChannelSpans(value)) return std::nullopt;
    const std::string function = ChannelListFunction(value, reading);
    if (IsSpaceReading(reading)) {
        const auto css = ParseCssSpaceColor(function);
        if (!css || !css->Alpha.empty()) return std::nullopt;
        return SrgbToDisplay(SpaceToSrgb(css->Space, css->Coordinates));
    }
    const auto css = ParseCssColorFunction(function);
    if (!css || !css->Alpha.empty()) return std::nullopt;
    return css->Color;
}

std::string ChannelListText(std::string_view value, TChannelReading reading, TColor color)
{
    const auto spans = ChannelSpans(value);
    if (!spans) return std::string(value);
    const std::array<std::string, 3> channels =
        reading == TChannelReading::Hsl
            ? HslChannels(color)
            : std::array<std::string, 3>{std::to_string(GetRValue(color)), std::to_string(GetGValue(color)),
                                         std::to_string(GetBValue(color))};
    std::string text(value);
    for (int k = 2; k >= 0; --k) text.replace(spans->From[k], spans->To[k] - spans->From[k], channels[size_t(k)]);
    return text;
}

std::optional<TChannelNames> SingleChannelVariables(std::string_view args)
{
    TChannelNames names;
    bool any = false;
    size_t i = SkipSpace(args, 0);
    for (size_t k = 0; k < 3; ++k) {
        if (!ReadChannel(args, i, names.Names[k], names.Deltas[k], names.Literals[k])) return std::nullopt;
        any = any || !names.Names[k].empty();
        i = SkipSpace(args, i);
        if (k < 2 && i < args.size() && args[i] == ',') i = SkipSpace(args, i + 1);
    }
    if (!any || i >= args.size() || (args[i] != ')' && args[i] != ',' && args[i] != '/')) return std::nullopt;
    return names;
}

bool IsSingleChannel(std::string_view value)
{
    if (value.empty() || ChannelEnd(value, 0) != value.size()) return false;
    const auto number = ReadNumber(value);
    if (!number) return false;
    const std::string_view unit = number->Unit;
    return unit.empty() || unit == "%" || EqualsNoCase(unit, "deg") || EqualsNoCase(unit, "grad") ||
           EqualsNoCase(unit, "rad") || EqualsNoCase(unit, "turn");
}

std::string_view AliasedVariable(std::string_view value)
{
    size_t i = 0;
    std::string_view name;
    if (!ReadVar(value, i, name) || SkipSpace(value, i) != value.size()) return {};
    return name;
}

bool MirroredByInvert(TChannelRole role)
{
    return role.Reading == TChannelReading::Rgb || (role.Reading == TChannelReading::Hsl && role.Channel == 2);
}

std::string InvertedChannelText(std::string_view value, TChannelRole role)
{
    auto number = ReadNumber(value);
    if (!number) return std::string(value);
    double& v = number->Value;
    if (role.Delta) {
        if (!MirroredByInvert(role)) return std::string(value);
        v = -v;
    } else if (role.Reading == TChannelReading::Hsl && role.Channel == 0) {
        const double turn = 360 / DegreesPer(number->Unit);
        v = std::fmod(v + turn / 2, turn);
        if (v < 0) v += turn;
        if (EqualsNoCase(number->Unit, "rad")) number->Decimals = std::max(number->Decimals, 6);
    } else if (role.Reading == TChannelReading::Hsl && role.Channel == 2) {
        v = 100 - v;
    } else if (role.Reading == TChannelReading::Rgb) {
        v = (number->Unit == "%" ? 100 : 255) - v;
    } else {
        return std::string(value);
    }
    return Decimal(v, number->Decimals) + std::string(number->Unit);
}

std::optional<double> ChannelNumber(std::string_view value)
{
    const auto number = ReadNumber(value);
    if (!number) return std::nullopt;
    return number->Value;
}

std::optional<double> HueDegrees(std::string_view value)
{
    const auto number = ReadNumber(value);
    if (!number) return std::nullopt;
    return number->Value * DegreesPer(number->Unit);
}

std::string WithChannelNumber(std::string_view value, double number)
{
    const auto read = ReadNumber(value);
    if (!read) return std::string(value);
    return Decimal(number, std::max(read->Decimals, 2)) + std::string(read->Unit);
}

std::string ChannelText(std::string_view value, TChannelRole role, TColor color)
{
    const auto number = ReadNumber(value);
    if (!number || role.Delta) return std::string(value);
    const std::string unit(number->Unit);
    if (role.Reading == TChannelReading::Rgb) {
        const int channel = role.Channel == 0 ? GetRValue(color) : role.Channel == 1 ? GetGValue(color) : GetBValue(color);
        return unit == "%" ? Decimal(channel / 2.55, 2) + unit : std::to_string(channel);
    }
    if (role.Reading != TChannelReading::Hsl) return std::string(value);
    const auto hsl = HslOf(color);
    const double v = role.Channel == 0 ? hsl[0] / DegreesPer(unit) : hsl[size_t(role.Channel)];
    return Decimal(v, role.Channel == 0 && EqualsNoCase(unit, "rad") ? 6 : 2) + unit;
}

} // namespace pictor
