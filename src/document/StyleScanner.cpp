#include "document/StyleScanner.h"

#include "document/ColorLiterals.h"
#include "base/AsciiText.h"
#include "document/ChannelLists.h"
#include "document/CssColorFunction.h"
#include "document/CssColorNames.h"
#include "document/Paths.h"
#include "document/SvgDataUrl.h"
#include "encoding/CharCode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>

namespace pictor {

namespace {

// A table: words are most of what a value holds, and every byte of them is asked about.
constexpr std::array<bool, 256> IdentChars = [] {
    std::array<bool, 256> chars{};
    for (int c = 0; c < 256; ++c)
        chars[size_t(c)] =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
    return chars;
}();
bool IsIdentChar(char c)
{
    return IdentChars[static_cast<unsigned char>(c)];
}
bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "-webkit-x" is "x"; a custom property "--x" keeps its dashes.
std::string_view WithoutVendorPrefix(std::string_view name)
{
    if (name.size() > 1 && name[0] == '-' && name[1] != '-') {
        const size_t dash = name.find('-', 1);
        if (dash != std::string_view::npos) return name.substr(dash + 1);
    }
    return name;
}

// Properties whose words are names (fonts, animations, grid areas, counters...), never colours.
bool HoldsNames(std::string_view property)
{
    static constexpr std::string_view names[] = {
        "font", "font-family", "animation", "animation-name", "grid", "container", "container-name",
        "view-transition-name", "transition", "transition-property", "will-change", "list-style-type",
        "content", "quotes"};
    const std::string_view p = WithoutVendorPrefix(property);
    char lower[32];
    // Most properties (custom ones, margins, borders...) start with a letter none of these start with.
    if (p.empty() || p.size() > sizeof lower ||
        std::string_view("acfglqtvw").find(LowerAscii(p[0])) == std::string_view::npos)
        return false;
    for (size_t k = 0; k < p.size(); ++k) lower[k] = LowerAscii(p[k]);
    const std::string_view key(lower, p.size());
    if (key.starts_with("grid-") || key.starts_with("counter-")) return true;
    for (std::string_view name : names)
        if (key == name) return true;
    return false;
}

// Functions whose arguments hold colours: gradients (-webkit-gradient()'s color-stop(), from() and to()
// too), drop-shadow(), colours made of colours and a var()'s fallback.
bool HoldsColours(std::string_view function)
{
    std::string_view f = WithoutVendorPrefix(function);
    if (f.size() > 10 && EqualsNoCase(f.substr(0, 10), "repeating-")) f.remove_prefix(10);
    for (std::string_view name : {"linear-gradient", "radial-gradient", "conic-gradient", "drop-shadow", "var",
                                  "color-mix", "light-dark", "gradient", "color-stop", "from", "to"})
        if (EqualsNoCase(f, name)) return true;
    return false;
}

// What a byte can start: most bytes start nothing and are stepped over.
enum TByteRole : unsigned char { rPlain, rSlash, rQuote, rEscape, rOpen, rClose, rSemicolon, rBraceOpen, rBraceClose, rHash, rIdent };

constexpr std::array<TByteRole, 256> ByteRoles = [] {
    std::array<TByteRole, 256> roles{};
    roles['/'] = rSlash;
    roles['"'] = rQuote;
    roles['\''] = rQuote;
    roles['\\'] = rEscape;
    roles['('] = rOpen;
    roles[')'] = rClose;
    roles[';'] = rSemicolon;
    roles['{'] = rBraceOpen;
    roles['}'] = rBraceClose;
    roles['#'] = rHash;
    for (int c = 'a'; c <= 'z'; ++c) roles[size_t(c)] = roles[size_t(c - 32)] = rIdent;
    roles['-'] = roles['_'] = rIdent;
    return roles;
}();

// The bytes a scan must stop at: those with a role in roles, and outside UTF-8 every byte above 7F (it
// may lead a two-byte character whose second byte looks like one of them). Every other byte is stepped
// over in a loop that tests nothing else.
constexpr std::array<bool, 256> StopBytes(std::span<const TByteRole> roles, bool utf8)
{
    std::array<bool, 256> stops{};
    for (size_t b = 0; b < 256; ++b)
        for (TByteRole role : roles) stops[b] = stops[b] || (b < 0x80 && ByteRoles[b] == role) || (b >= 0x80 && !utf8);
    return stops;
}
constexpr TByteRole ItemRoles[] = {rSlash, rQuote, rEscape, rOpen, rClose, rSemicolon, rBraceOpen, rBraceClose};
constexpr TByteRole ValueRoles[] = {rSlash, rQuote, rEscape, rOpen, rClose, rHash, rIdent};
constexpr std::array<bool, 256> Utf8ItemStops = StopBytes(ItemRoles, true);
constexpr std::array<bool, 256> SjisItemStops = StopBytes(ItemRoles, false);
constexpr std::array<bool, 256> Utf8ValueStops = StopBytes(ValueRoles, true);
constexpr std::array<bool, 256> SjisValueStops = StopBytes(ValueRoles, false);

// The target of the "@import" at i, its quotes removed; empty when it names none or names a URL.
std::string ImportTargetAt(std::string_view text, size_t i, bool utf8)
{
    const size_t n = text.size();
    size_t p = i + 7;
    while (p < n && IsStyleSeparator(text[p])) ++p;
    std::string target;
    // Both forms: @import url(a.css) and @import "a.css". Anything else names nothing.
    if (p < n && (text[p] == '"' || text[p] == '\'')) {
        const size_t close = FindCharacter(text, p + 1, text.substr(p, 1), utf8);
        if (close != std::string::npos) target.assign(text, p + 1, close - p - 1);
    } else if (MatchesNoCase(text, p, "URL(")) {
        const size_t close = FindCharacter(text, p + 4, ")", utf8);
        if (close != std::string::npos) target.assign(text, p + 4, close - p - 4);
    }
    std::erase(target, '"');
    std::erase(target, '\'');
    while (!target.empty() && IsStyleSeparator(target.back())) target.pop_back();
    while (!target.empty() && IsStyleSeparator(target.front())) target.erase(0, 1);
    if (IsExternalReference(target)) target.clear();
    return target;
}

// One walk over style text: rules and at-rules at every depth, declarations, their values. Only values
// give colours and pictures; selectors and at-rule preludes give nothing.
class TStyleWalker {
public:
    TStyleWalker(std::string_view text, bool utf8, size_t offset, TScanEvents& events)
        : Text_(text), Data_(text.data()), N_(text.size()), Utf8_(utf8), Offset_(offset), Events_(events),
          WantRefs_(events.WantsReferences()), ItemStops_(utf8 ? Utf8ItemStops : SjisItemStops),
          ValueStops_(utf8 ? Utf8ValueStops : SjisValueStops)
    {
    }

    // block: the text is one declaration block by itself, ended by a "}" too. The walk starts at from,
    // outside every rule, and stops at until if it stands there outside every rule: nothing before a
    // position so reached bears on what follows it. Returns where the walk stopped.
    size_t Run(bool block, size_t from = 0, size_t until = std::string_view::npos)
    {
        Depth_ = 0;
        if (block) Open(Offset_);
        size_t i = from;
        while (i < N_) {
            if (i == until && Depth_ == 0) return i;
            const char c = Data_[i];
            if (IsCssSpace(c) || c == ';') {
                ++i;
            } else if (Depth_ == 0 && (Text_.compare(i, 4, "<!--") == 0 || Text_.compare(i, 3, "-->") == 0)) {
                i += c == '<' ? 4 : 3;  // HTML comment marks, which a style block may hold around its rules
            } else if (c == '/' && At(i + 1) == '*') {
                i = SkipComment(i);
            } else if (c == '}') {
                ++i;
                if (Depth_ > 0 && --Depth_ == 0 && block) return i;
            } else {
                const size_t end = ItemEnd(i);
                if (end < N_ && Data_[end] == '{') {
                    Open(Offset_ + end + 1);
                    RuleSeen_ = true;
                    i = end + 1;
                } else {
                    if (Depth_ > 0) Declaration(i, end);
                    else Statement(i);
                    i = end;
                }
            }
        }
        return N_;
    }

private:
    void Open(size_t block)
    {
        if (Depth_ < Blocks_.size()) Blocks_[Depth_] = block;
        ++Depth_;
    }

    char At(size_t i) const { return i < N_ ? Data_[i] : '\0'; }
    // The first byte from i (before end) that stops is at, or end.
    size_t SkipPlain(size_t i, size_t end, const std::array<bool, 256>& stops) const
    {
        const auto* const data = reinterpret_cast<const unsigned char*>(Data_);
        // Four bytes a round, with one test of the end: this loop is most of the walk.
        for (; i + 4 <= end; i += 4) {
            if (stops[data[i]]) return i;
            if (stops[data[i + 1]]) return i + 1;
            if (stops[data[i + 2]]) return i + 2;
            if (stops[data[i + 3]]) return i + 3;
        }
        while (i < end && !stops[data[i]]) ++i;
        return i;
    }
    size_t Step(size_t i) const
    {
        return static_cast<unsigned char>(Data_[i]) < 0x80 ? i + 1 : i + size_t(CharLength(Data_ + i, Data_ + N_, Utf8_));
    }

    size_t SkipComment(size_t i) const
    {
        const size_t close = FindWord(Text_, i + 2, "*/", Utf8_);
        return close == std::string_view::npos ? N_ : close + 2;
    }

    // A string ends at the quote that opened it; a backslash escapes the next character; a line break
    // that is not escaped ends it too, as it does for a browser.
    size_t SkipString(size_t i) const
    {
        const char quote = Data_[i];
        for (size_t j = i + 1; j < N_;) {
            const char c = Data_[j];
            if (c == quote) return j + 1;
            if (c == '\n' || c == '\r' || c == '\f') return j;
            j = c == '\\' && j + 1 < N_ ? Step(j + 1) : Step(j);
        }
        return N_;
    }

    bool UrlBefore(size_t open) const
    {
        return open >= 3 && EqualsNoCase(Text_.substr(open - 3, 3), "url") && (open == 3 || !IsIdentChar(Data_[open - 4]));
    }

    // From the "(" of url(: its reference (quoted, or to the ")" less white space) is reported when
    // report is set, or the colours of the SVG picture it holds; nothing inside is style text. Returns
    // the position after the ")". Nothing past limit, the end of the value it stands in, is taken.
    size_t SkipUrl(size_t open, bool report, size_t limit = std::string_view::npos)
    {
        size_t from = open + 1;
        while (from < N_ && IsCssSpace(Data_[from])) ++from;
        size_t to, after;
        if (from < N_ && (Data_[from] == '"' || Data_[from] == '\'')) {
            after = SkipString(from);
            to = after > from + 1 && Data_[after - 1] == Data_[from] ? after - 1 : after;
            ++from;
            const size_t close = FindCharacter(Text_, after, ")", Utf8_);
            after = close == std::string_view::npos ? N_ : close + 1;
        } else {
            const size_t close = FindCharacter(Text_, from, ")", Utf8_);
            to = close == std::string_view::npos ? N_ : close;
            after = close == std::string_view::npos ? N_ : close + 1;
            while (to > from && IsCssSpace(Data_[to - 1])) --to;
        }
        // A string the value's own walk did not see as one (its colon stood inside a string) may run on.
        to = std::min(to, limit);
        after = std::min(after, limit);
        if (report && from < to) {
            const std::string_view ref = Text_.substr(from, to - from);
            if (!WalkSvgDataUrl(ref, Offset_ + from, Place_, Events_) && WantRefs_ && !IsExternalReference(ref))
                Events_.PictureFound(ref);
        }
        return after;
    }

    // Where the rule, at-rule or declaration starting at i ends: its "{" or ";" outside parentheses,
    // or a "}".
    size_t ItemEnd(size_t i)
    {
        size_t parens = 0;
        while (i < N_) {
            i = SkipPlain(i, N_, ItemStops_);
            if (i == N_) break;
            const unsigned char byte = static_cast<unsigned char>(Data_[i]);
            if (byte >= 0x80) {
                i = Step(i);
                continue;
            }
            switch (ByteRoles[byte]) {
            case rSlash: i = At(i + 1) == '*' ? SkipComment(i) : i + 1; break;
            case rQuote: i = SkipString(i); break;
            case rEscape: i = i + 1 < N_ ? Step(i + 1) : N_; break;
            case rOpen:
                if (UrlBefore(i)) {
                    i = SkipUrl(i, false);
                } else {
                    ++parens;
                    ++i;
                }
                break;
            case rClose:
                if (parens > 0) --parens;
                ++i;
                break;
            case rSemicolon:
            case rBraceOpen:
                if (parens == 0) return i;
                ++i;
                break;
            case rBraceClose: return i;
            default: ++i; break;
            }
        }
        return N_;
    }

    // An at-rule without a block, outside every rule: "@import" names a sheet; "@charset" and "@layer"
    // may stand before one.
    void Statement(size_t i)
    {
        if (MatchesNoCase(Text_, i, "@IMPORT")) {
            if (!WantRefs_) return;
            if (const std::string target = ImportTargetAt(Text_, i, Utf8_); !target.empty())
                Events_.ImportFound(target, !RuleSeen_);
        } else if (!MatchesNoCase(Text_, i, "@CHARSET") && !MatchesNoCase(Text_, i, "@LAYER")) {
            RuleSeen_ = true;
        }
    }

    void Report(size_t pos, size_t length, TColorForm form, int nameIndex)
    {
        Events_.ColorFound(Offset_ + pos, length, form, nameIndex, Place_);
    }

    void Declaration(size_t start, size_t end)
    {
        const size_t colon = FindCharacter(Text_.substr(0, end), start, ":", Utf8_);
        if (colon == std::string_view::npos) return;
        size_t nameEnd = colon;
        while (nameEnd > start && IsCssSpace(Data_[nameEnd - 1])) --nameEnd;
        const std::string_view name = Text_.substr(start, nameEnd - start);
        Place_ = {RoleOf(name), Blocks_[std::min(Depth_, Blocks_.size()) - 1], Offset_ + start, {}};
        if (name.starts_with("--")) CustomProperty(name, colon + 1, end);
        Value(colon + 1, end, !HoldsNames(name));
    }

    void CustomProperty(std::string_view name, size_t from, size_t to)
    {
        while (from < to && IsCssSpace(Data_[from])) ++from;
        while (to > from && IsCssSpace(Data_[to - 1])) --to;
        const std::string_view value = Text_.substr(from, to - from);
        if (ChannelSpans(value) || IsSingleChannel(value)) Events_.ChannelListFound(Offset_ + from, to - from, name);
        else if (const std::string_view target = AliasedVariable(value); !target.empty()) Events_.VariableAliasFound(name, target);
    }

    void ChannelVariables(TChannelReading reading, size_t argsAt, size_t end)
    {
        const std::string_view args = Text_.substr(argsAt, end - argsAt);
        if (const std::string_view variable = ChannelListVariable(args).Name; !variable.empty())
            Events_.ChannelVariableUsed(variable, reading);
        else if (reading == TChannelReading::Rgb || reading == TChannelReading::Hsl)
            if (const auto names = SingleChannelVariables(args))
                Events_.ChannelVariablesUsed(reading, *names);
    }

    // Colours stand at the top of a value or among a colour-holding function's arguments, after a
    // separator, "{" or "," (or the function's "(").
    static constexpr size_t MaxLevels = 64;
    bool ColourMayStart(size_t i, size_t depth, std::uint64_t colourLevels) const
    {
        if (depth >= MaxLevels || !(colourLevels >> depth & 1) || i == 0) return false;
        const char before = Data_[i - 1];
        return IsStyleSeparator(before) || before == '{' || before == ',' || (before == '(' && depth > 0) ||
               (before == '/' && i >= 2 && Data_[i - 2] == '*');  // after a comment
    }

    bool EndsName(size_t e, size_t end) const
    {
        if (e >= end) return true;
        const char c = Data_[e];
        return IsStyleSeparator(c) || c == '}' || c == ',' || c == ')' || c == '!' || c == '/';
    }

    void Value(size_t i, size_t end, bool names)
    {
        size_t depth = 0;
        std::uint64_t colourLevels = 1;
        while (i < end) {
            i = SkipPlain(i, end, ValueStops_);
            if (i == end) break;
            const unsigned char byte = static_cast<unsigned char>(Data_[i]);
            if (byte >= 0x80) {
                i = Step(i);
                continue;
            }
            switch (ByteRoles[byte]) {
            case rPlain: ++i; break;
            case rSlash: i = At(i + 1) == '*' ? SkipComment(i) : i + 1; break;
            case rQuote: i = SkipString(i); break;
            case rEscape: i = i + 1 < N_ ? Step(i + 1) : N_; break;
            case rOpen:
                ++depth;
                if (depth < MaxLevels) colourLevels &= ~(std::uint64_t(1) << depth);
                ++i;
                break;
            case rClose:
                if (depth > 0) --depth;
                ++i;
                break;
            case rHash:
                if (ColourMayStart(i, depth, colourLevels)) {
                    size_t e = i + 1;
                    while (e < end && IsAsciiAlnum(Data_[e])) ++e;
                    Report(i, e - i, TColorForm::Hex, -1);
                    i = e;
                } else {
                    ++i;
                }
                break;
            case rIdent: {
                size_t e = i + 1;
                while (e < end && IsIdentChar(Data_[e])) ++e;
                const std::string_view word = Text_.substr(i, e - i);
                const bool colour = ColourMayStart(i, depth, colourLevels);
                if (e < end && Data_[e] == '(') {
                    if (const TChannelReading reading = ChannelReadingOf(word); reading != TChannelReading::None)
                        ChannelVariables(reading, e + 1, end);
                    if (EqualsNoCase(word, "url")) {
                        i = SkipUrl(e, true, end);
                    } else if (const bool function = colour && IsColourFunction(word); function && !Relative(e, end)) {
                        i = ColourFunction(i, e, end, FormOf(word));
                    } else {
                        ++depth;
                        if (depth < MaxLevels && (function || HoldsColours(word))) colourLevels |= std::uint64_t(1) << depth;
                        else if (depth < MaxLevels) colourLevels &= ~(std::uint64_t(1) << depth);
                        i = e + 1;
                    }
                    break;
                }
                if (names && colour && EndsName(e, end))
                    if (const int index = CssNamedColorIndex(word); index >= 0) Report(i, e - i, TColorForm::Name, index);
                i = e;
                break;
            }
            default: ++i; break;
            }
        }
    }

    static bool IsColourFunction(std::string_view word)
    {
        return EqualsNoCase(word, "rgb") || EqualsNoCase(word, "rgba") || EqualsNoCase(word, "hsl") ||
               EqualsNoCase(word, "hsla") || IsCssSpaceFunction(word);
    }
    static TColorForm FormOf(std::string_view function)
    {
        if (EqualsNoCase(function, "rgb")) return TColorForm::Rgb;
        return IsCssSpaceFunction(function) ? TColorForm::Space : TColorForm::Function;
    }

    // A relative colour, "(from" its origin: the origin is a colour, the channels after it are not.
    bool Relative(size_t open, size_t end) const
    {
        size_t j = open + 1;
        while (j < end && (IsCssSpace(Data_[j]) || (Data_[j] == '/' && At(j + 1) == '*')))
            j = Data_[j] == '/' ? SkipComment(j) : j + 1;
        return j + 4 < end && EqualsNoCase(Text_.substr(j, 4), "from") && !IsIdentChar(Data_[j + 4]);
    }

    // A colour function from its name at i, "(" at open. One never closed inside its declaration is
    // no colour; one that holds another function is one only where its channels are numbers as written
    // (an alpha may be var() or calc()). The others are reported whatever they hold: one CSS does not
    // take is listed as ignored. Returns where to go on.
    size_t ColourFunction(size_t i, size_t open, size_t end, TColorForm form)
    {
        size_t close = open + 1;
        while (close < end && Data_[close] != ')' && Data_[close] != '(')
            close = Data_[close] == '/' && At(close + 1) == '*' ? std::min(SkipComment(close), end) : Step(close);
        if (close >= end) {
            // Never closed: to the end of the text, as an rgb() at the very end is.
            if (form == TColorForm::Rgb && end == N_) Report(i, N_ - i, TColorForm::Rgb, -1);
            return end;
        }
        if (Data_[close] == '(') {
            const size_t after = SkipNested(open);
            const std::string_view whole = Text_.substr(i, after - i);
            if (after <= end && (form == TColorForm::Space ? ParseCssSpaceColor(whole).has_value()
                                                           : ParseCssColorFunction(whole).has_value()))
                Report(i, whole.size(), form, -1);
            return after;
        }
        Report(i, close + 1 - i, form, -1);
        return close + 1;
    }

    // From a "(" to after its matching ")".
    size_t SkipNested(size_t open) const
    {
        size_t parens = 0;
        for (size_t j = open; j < N_;) {
            const char c = Data_[j];
            if (c == '(') ++parens;
            else if (c == ')' && --parens == 0) return j + 1;
            else if (c == '"' || c == '\'') {
                j = SkipString(j);
                continue;
            } else if (c == '}') return j;
            j = Step(j);
        }
        return N_;
    }

    static TColorRole RoleOf(std::string_view property)
    {
        if (EqualsNoCase(property, "color")) return TColorRole::Foreground;
        if (EqualsNoCase(property, "background-color")) return TColorRole::Background;
        if (EqualsNoCase(property, "background")) return TColorRole::Shorthand;
        return TColorRole::Other;
    }

    std::string_view Text_;
    const char* Data_;
    size_t N_;
    bool Utf8_;
    size_t Offset_;
    TScanEvents& Events_;
    bool WantRefs_;
    const std::array<bool, 256>& ItemStops_;
    const std::array<bool, 256>& ValueStops_;
    // The open blocks, each named by where its declarations start; those nested deeper than this
    // count as the deepest one kept.
    std::array<size_t, 64> Blocks_;
    size_t Depth_ = 0;
    bool RuleSeen_ = false;  // a rule other than "@import", "@charset" or "@layer" stood outside every rule
    TColorPlace Place_;
};

} // namespace

size_t ScanDeclarations(std::string_view text, bool utf8, size_t offset, TScanEvents& events)
{
    return TStyleWalker(text, utf8, offset, events).Run(true);
}

void WalkStyleText(std::string_view text, bool utf8, size_t offset, TScanEvents& events)
{
    TStyleWalker(text, utf8, offset, events).Run(false);
}

void WalkStyleSheet(std::string_view text, bool utf8, TScanEvents& events)
{
    WalkStyleText(text, utf8, 0, events);
}

bool WalkStyleSheetUntil(std::string_view text, bool utf8, size_t until, TScanEvents& events)
{
    return until < text.size() && TStyleWalker(text, utf8, 0, events).Run(false, 0, until) == until;
}

void WalkStyleSheetFrom(std::string_view text, bool utf8, size_t from, TScanEvents& events)
{
    TStyleWalker(text, utf8, 0, events).Run(false, from);
}

} // namespace pictor
