#include "document/ColorLiterals.h"

#include "document/Options.h"
#include "base/PictorError.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

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

[[noreturn]] void ThrowNotANumber(std::string_view colorText, std::string_view component)
{
    throw TPictorError("", "invalid colour \"" + std::string(colorText) + "\": \"" + std::string(component) +
                               "\" is not a number");
}

int ParseInteger(std::string_view colorText, std::string_view s)
{
    std::string_view digits = s;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) ThrowNotANumber(colorText, s);
    return value;
}

int ParsePercentComponent(std::string_view colorText, std::string_view s)
{
    // Locale-independent: "." is the decimal point whatever the environment says.
    std::string_view number = s;
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double p = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), p, std::chars_format::general);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size()) ThrowNotANumber(colorText, s);
    double v = std::trunc(p * 0.01 * 255);
    if (!std::isfinite(v) || std::fabs(v) >= 9.2e18) ThrowNotANumber(colorText, s);
    return int(static_cast<long long>(v) & 0xFF);
}

TColor RgbFunctionToColor(std::string_view text)
{
    const bool percent = text.find('%') != std::string_view::npos;
    std::string_view rest = text.substr(text.find('(') + 1);
    int c[3] = {0, 0, 0};
    const char terminators[3] = {',', ',', ')'};
    for (int k = 0; k < 3; ++k) {
        size_t end = rest.find(terminators[k]);
        if (end == std::string_view::npos) continue;  // never terminated: stays 0
        std::string component(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        if (percent) {
            std::erase(component, '%');
            c[k] = ParsePercentComponent(text, component);
        } else {
            c[k] = ParseInteger(text, component);
        }
    }
    return RGB(c[0], c[1], c[2]);
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

TColor TextToColor(std::string_view original)
{
    std::string text(original);
    std::erase(text, ' ');
    if (!text.empty() && text[0] == '#') {
        std::string_view t = text;
        if (t.size() == 7)
            return RGB(HexPairToByte(t.substr(1, 2)), HexPairToByte(t.substr(3, 2)), HexPairToByte(t.substr(5, 2)));
        if (t.size() == 4) {
            auto doubled = [&](int i) { return HexPairToByte(std::string{t[i], t[i]}); };
            return RGB(doubled(1), doubled(2), doubled(3));
        }
        return 0;
    }
    if (FindNoCase(text, "rgb(") != std::string_view::npos) return RgbFunctionToColor(text);
    return NamedColorToColor(text);
}

std::string ColorByteToHex(int value)
{
    static const char upper[] = "0123456789ABCDEF";
    static const char lower[] = "0123456789abcdef";
    const char* digits = Options().SaveWithLowerCase ? lower : upper;
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

std::string ColorToCode(TColor color)
{
    return "#" + ColorByteToHex(GetRValue(color)) + ColorByteToHex(GetGValue(color)) + ColorByteToHex(GetBValue(color));
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
