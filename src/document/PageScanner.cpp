#include "document/PageScanner.h"

#include "base/AsciiText.h"
#include "document/CssColorFunction.h"
#include "document/CssColorNames.h"
#include "document/Paths.h"
#include "document/StyleScanner.h"
#include "document/SvgDataUrl.h"
#include "encoding/CharCode.h"
#include "encoding/DeclaredCharCode.h"

#include <cstring>
#include <optional>
#include <vector>

namespace pictor {

namespace {


size_t FindNoCase(std::string_view text, size_t from, std::string_view upperWord, bool utf8)
{
    const char* end = text.data() + text.size();
    for (size_t i = from; i + upperWord.size() <= text.size(); i += size_t(CharLength(text.data() + i, end, utf8)))
        if (UpperAscii(text[i]) == upperWord[0] && MatchesNoCase(text, i, upperWord)) return i;
    return std::string_view::npos;
}

bool HasPictureEnding(std::string_view text, size_t dot, size_t& length)
{
    static constexpr std::string_view endings[] = {".JPG", ".PNG", ".GIF", ".BMP", ".JPEG", ".WEBP", ".SVG"};
    for (auto e : endings)
        if (MatchesNoCase(text, dot, e)) {
            length = e.size();
            return true;
        }
    return false;
}

// A colour as CSS writes it: what a browser takes from a theme colour's content, and nothing else.
bool IsCssColourText(std::string_view value)
{
    while (!value.empty() && IsStyleSeparator(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsStyleSeparator(value.back())) value.remove_suffix(1);
    if (value.starts_with('#')) {
        const size_t digits = value.size() - 1;
        return (digits == 3 || digits == 4 || digits == 6 || digits == 8) &&
               value.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string_view::npos;
    }
    return CssNamedColorIndex(value) >= 0 || ParseCssColorFunction(value).has_value();
}

class TPageWalker {
public:
    // svg: the text is an SVG picture, every tag of it an SVG element.
    TPageWalker(std::string_view text, bool utf8, TScanEvents& events, bool svg)
        : Text_(text), Utf8_(utf8), Events_(events), WantRefs_(events.WantsReferences() && !svg), Svg_(svg)
    {
        Copy_.assign(text);
        const char* end = Copy_.data() + Copy_.size();
        for (char* p = Copy_.data(); p < end;) {
            if (static_cast<unsigned char>(*p) < 0x80) {
                if (*p == '\t') *p = ' ';
                ++p;
            } else {
                p += CharLength(p, end, utf8);
            }
        }
        UpperCaseTags(Copy_, utf8);
        S_ = Copy_;
    }

    void Run()
    {
        const size_t n = S_.size();
        size_t i = 0;
        while (i < n) {
            i = FindCharacter(S_, i, "<", Utf8_);
            if (i == std::string_view::npos) break;
            if (S_.compare(i, 4, "<!--") == 0) {
                const size_t close = FindWord(S_, i + 4, "-->", Utf8_);
                i = close == std::string_view::npos ? n : close + 3;
            } else if (MatchesNoCase(S_, i, "<STYLE")) {
                i = StyleBlock(i);
            } else {
                if (IsTag(i, "<HEAD")) {
                    const size_t close = FindCharacter(S_, i, ">", Utf8_);
                    if (close != std::string_view::npos) Events_.HeadFound(close + 1);
                }
                StyleValues_.clear();
                const size_t next = WalkTag(i);
                if (WantRefs_) TagTests(i);
                i = next;
            }
        }
    }

private:
    // Where a name ending in one of names ends at i and is followed by spaces, "=", spaces and a
    // double quote (or a single one, when singleQuotes): the position after that quote, or 0.
    size_t AttributeValueAt(size_t tagStart, size_t i, std::initializer_list<std::string_view> names,
                            bool singleQuotes = false) const
    {
        if (S_[i] != ' ' && S_[i] != '=') return 0;
        bool named = false;
        for (auto name : names)
            if (i >= tagStart + 1 + name.size() && MatchesNoCase(S_, i - name.size(), name)) named = true;
        if (!named) return 0;
        size_t p = i;
        while (p < S_.size() && S_[p] == ' ') ++p;
        if (p >= S_.size() || S_[p] != '=') return 0;
        ++p;
        while (p < S_.size() && S_[p] == ' ') ++p;
        if (p >= S_.size() || (S_[p] != '"' && (!singleQuotes || S_[p] != '\''))) return 0;
        return p + 1;
    }

    // Whether the name of length `length` ending at nameEnd is a whole attribute name, not the end of one.
    bool WholeName(size_t tagStart, size_t nameEnd, size_t length) const
    {
        if (nameEnd < tagStart + 1 + length) return false;
        const char before = S_[nameEnd - length - 1];
        return !IsNameChar(before) && before != ':';
    }

    // From the "<" to the first ">"; a colour or style value is stepped over whole. Reports the colours
    // and keeps where the style values stand, for the tag tests.
    size_t WalkTag(size_t start)
    {
        const size_t n = S_.size();
        const bool body = IsTag(start, "<BODY");
        const bool themeColour = IsTag(start, "<META") && NamesThemeColour(start);
        const bool svgElement = IsTag(start, "<SVG");
        if (svgElement && !SelfClosing(start)) ++InlineSvg_;
        else if (IsTag(start, "</SVG") && InlineSvg_ > 0) --InlineSvg_;
        const bool svg = Svg_ || svgElement || InlineSvg_ > 0;
        size_t i = start;
        while (i < n) {
            if (S_[i] == '>') return i + 1;
            // Each attribute looked for below ends its name at a space or "=": other bytes only step on.
            if (S_[i] != ' ' && S_[i] != '=') {
                i += size_t(CharLength(S_.data() + i, S_.data() + n, Utf8_));
            } else if (size_t next = svg ? SvgColourAttribute(start, i) : 0) {
                i = next;
            } else if (size_t v = svg ? 0 : AttributeValueAt(start, i, {"COLOR", "TEXT", "LINK"})) {
                const size_t end = QuotedValueEnd(v, '"');
                const TColorRole role = body ? BodyAttributeRole(start, i) : TColorRole::Other;
                Events_.ColorFound(v, end - v, TColorForm::Attribute, -1, {role, start, i, {}});
                i = end + 1;
            } else if (size_t c = themeColour ? ContentValueAt(start, i) : 0) {
                const size_t end = QuotedValueEnd(c, '"');
                if (IsCssColourText(S_.substr(c, end - c)))
                    Events_.ColorFound(c, end - c, TColorForm::Attribute, -1, {TColorRole::Other, start, i, {}});
                i = end + 1;
            } else if (size_t v = AttributeValueAt(start, i, {"STYLE"}, svg)) {
                const size_t end = StyleValueEnd(v, S_[v - 1]);
                StyleAttribute(v, end, true);
                StyleValues_.push_back({v, end});
                i = end + 1;
            } else if (size_t next = SvgDataUrlAttribute(start, i)) {
                i = next;
            } else {
                i += size_t(CharLength(S_.data() + i, S_.data() + n, Utf8_));
            }
        }
        return n;
    }

    // CONTENT itself, not a name ending in it.
    size_t ContentValueAt(size_t tagStart, size_t i) const
    {
        return WholeName(tagStart, i, 7) ? AttributeValueAt(tagStart, i, {"CONTENT"}) : 0;
    }

    size_t QuotedValueEnd(size_t from, char quote) const
    {
        const size_t close = FindCharacter(S_, from, std::string_view(&quote, 1), Utf8_);
        return close == std::string_view::npos ? S_.size() : close;
    }

    // In SVG, FILL, STROKE and every name ending in COLOR (STOP-COLOR, FLOOD-COLOR, LIGHTING-COLOR...)
    // hold what CSS takes for them; "none", "currentColor", url(#id) and the like are no colours. Returns
    // where the walk goes on after such an attribute's value, or 0.
    size_t SvgColourAttribute(size_t tagStart, size_t i)
    {
        size_t v = AttributeValueAt(tagStart, i, {"COLOR"}, true);
        for (std::string_view name : {std::string_view("FILL"), std::string_view("STROKE")})
            if (!v && WholeName(tagStart, i, name.size())) v = AttributeValueAt(tagStart, i, {name}, true);
        if (!v) return 0;
        const size_t end = QuotedValueEnd(v, S_[v - 1]);
        const std::string_view value = Text_.substr(v, end - v);
        // oklch(), lab() and the like, as CSS takes them (Tabler's chevrons): read in their own space.
        std::optional<TColorForm> form;
        if (IsCssColourText(value))
            form = TColorForm::Attribute;
        else if (ParseCssSpaceColor(value))
            form = TColorForm::Space;
        if (form) Events_.ColorFound(v, end - v, *form, -1, {TColorRole::Other, tagStart, i, {}});
        return end + 1;
    }

    // A SRC or HREF that is an SVG picture's data: URL: its colours are reported where they stand in it.
    size_t SvgDataUrlAttribute(size_t tagStart, size_t i)
    {
        const size_t v = AttributeValueAt(tagStart, i, {"SRC", "HREF"}, true);
        if (!v || !MatchesNoCase(S_, v, "DATA:")) return 0;
        const size_t end = QuotedValueEnd(v, S_[v - 1]);
        return WalkSvgDataUrl(Text_.substr(v, end - v), v, {TColorRole::Other, tagStart, i, {}}, Events_) ? end + 1 : 0;
    }

    bool SelfClosing(size_t start) const
    {
        const size_t close = FindCharacter(S_, start, ">", Utf8_);
        return close != std::string_view::npos && S_[close - 1] == '/';
    }

    bool IsTag(size_t start, std::string_view upperName) const
    {
        const size_t after = start + upperName.size();
        return MatchesNoCase(S_, start, upperName) && (after == S_.size() || !IsNameChar(S_[after]));
    }

    // A META whose NAME is "theme-color" or "msapplication-TileColor" (any case, any quotes): its CONTENT
    // is the colour a browser paints its own frame with.
    bool NamesThemeColour(size_t start) const
    {
        for (size_t i = start + 5; i < S_.size() && S_[i] != '>'; ++i) {
            if (IsNameChar(S_[i - 1]) || !MatchesNoCase(S_, i, "NAME")) continue;
            size_t p = i + 4;
            while (p < S_.size() && S_[p] == ' ') ++p;
            if (p >= S_.size() || S_[p] != '=') continue;
            ++p;
            while (p < S_.size() && S_[p] == ' ') ++p;
            if (p < S_.size() && (S_[p] == '"' || S_[p] == '\'')) ++p;
            for (std::string_view name : {"THEME-COLOR", "MSAPPLICATION-TILECOLOR"}) {
                const size_t after = p + name.size();
                if (MatchesNoCase(S_, p, name) && after < S_.size() &&
                    (S_[after] == '"' || S_[after] == '\'' || S_[after] == ' ' || S_[after] == '>'))
                    return true;
            }
        }
        return false;
    }

    static bool IsNameChar(char c)
    {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    }

    // The attribute of BODY whose name ends at nameEnd: text and link colours, and their background.
    TColorRole BodyAttributeRole(size_t tagStart, size_t nameEnd) const
    {
        size_t from = nameEnd;
        while (from > tagStart && IsNameChar(S_[from - 1])) --from;
        const std::string_view name = S_.substr(from, nameEnd - from);
        if (name == "TEXT" || name == "LINK" || name == "VLINK" || name == "ALINK") return TColorRole::Foreground;
        return name == "BGCOLOR" ? TColorRole::Background : TColorRole::Other;
    }

    size_t StyleValueEnd(size_t from, char quote) const
    {
        const char stops[] = {'(', ')', quote};
        bool inParens = false;
        for (size_t i = from; (i = FindCharacter(S_, i, std::string_view(stops, 3), Utf8_)) != std::string_view::npos; ++i) {
            const char c = S_[i];
            if (c == '(') inParens = true;
            else if (c == ')') inParens = false;
            else if (!inParens) return i;
        }
        return S_.size();
    }

    // A style attribute is one declaration block, its end counting as a separator. Its colours are
    // taken by the tag walk, its pictures by the tag tests.
    void StyleAttribute(size_t from, size_t to, bool colours)
    {
        TFilter filter(Events_, colours);
        ScanDeclarations(Text_.substr(from, to - from), Utf8_, from, filter);
    }

    size_t StyleBlock(size_t start)
    {
        size_t end = FindNoCase(S_, start + 1, "</STYLE", Utf8_);
        if (end == std::string_view::npos) end = S_.size();
        // The rules start after the tag, so that the first of them is seen as the first.
        const size_t open = FindCharacter(S_.substr(0, end), start, ">", Utf8_);
        const size_t rules = open == std::string_view::npos ? start : open + 1;
        WalkStyleText(Text_.substr(rules, end - rules), Utf8_, rules, Events_);
        if (open != std::string_view::npos) Events_.StyleBlockFound(rules, end);
        return end;
    }

    // Run once as a tag is entered: its pictures and, for LINK, its style sheet.
    void TagTests(size_t start)
    {
        for (auto [from, to] : StyleValues_) StyleAttribute(from, to, false);

        // The tag to its first ">" outside double quotes, spaces outside double quotes removed.
        bool quoted = false;
        size_t end = start;
        for (; (end = FindCharacter(S_, end, "\">", Utf8_)) != std::string_view::npos; ++end) {
            if (S_[end] == '"') quoted = !quoted;
            else if (!quoted) break;
        }
        if (end == std::string_view::npos) end = S_.size();
        if (!MayReference(start, end)) return;
        Tag_.clear();
        TagPos_.clear();
        quoted = false;
        const char* const textEnd = S_.data() + end;
        for (size_t i = start; i < end;) {
            const int length = CharLength(S_.data() + i, textEnd, Utf8_);
            const char c = S_[i];
            if (length == 1 && c == '"') quoted = !quoted;
            if (length > 1 || c != ' ' || quoted)
                for (int k = 0; k < length; ++k) {
                    Tag_ += S_[i + size_t(k)];
                    TagPos_.push_back(i + size_t(k));
                }
            i += size_t(length);
        }
        const std::string_view tag = Tag_;
        if (size_t at = FindNoCase(tag, 0, "BACKGROUND=\"", Utf8_); at != std::string_view::npos)
            ReportValue(at + 12, false);
        if (MatchesNoCase(tag, 0, "<LINK") &&
            FindNoCase(tag, 0, "REL=\"STYLESHEET\"", Utf8_) != std::string_view::npos)
            if (size_t at = FindNoCase(tag, 0, "HREF=\"", Utf8_); at != std::string_view::npos)
                ReportValue(at + 6, true, TagAttribute(Text_.substr(start + 5, end - start - 5), "CHARSET"));
        if (FindNoCase(tag, 0, "<IMG", Utf8_) != std::string_view::npos)
            if (size_t at = FindNoCase(tag, 0, "SRC=\"", Utf8_); at != std::string_view::npos) ReportValue(at + 5, false);
    }

    // Most tags name no picture and no sheet: only one holding BACKGROUND, IMG or LINK can.
    bool MayReference(size_t start, size_t end) const
    {
        for (size_t i = start; i < end; ++i) {
            const char c = UpperAscii(S_[i]);
            if ((c == 'B' && MatchesNoCase(S_, i, "BACKGROUND")) || (c == 'I' && MatchesNoCase(S_, i, "IMG")) ||
                (c == 'L' && MatchesNoCase(S_, i, "LINK")))
                return true;
        }
        return false;
    }

    // The value from `from` up to its ending (".CSS", or a picture ending), read no further than the
    // attribute's closing quote; taken from the page text so that it keeps its case.
    void ReportValue(size_t from, bool styleSheet, std::string_view charset = {})
    {
        const std::string_view tag = Tag_;
        const char* end = tag.data() + tag.size();
        for (size_t i = from; i < tag.size() && tag[i] != '"';) {
            size_t length = 0;
            if (tag[i] == '.' && (styleSheet ? (MatchesNoCase(tag, i, ".CSS") && (length = 4))
                                             : HasPictureEnding(tag, i, length))) {
                Value_.clear();
                for (size_t k = from; k < i + length; ++k) Value_ += Text_[TagPos_[k]];
                if (IsExternalReference(Value_)) return;
                if (styleSheet) Events_.StyleSheetFound(Value_, charset);
                else Events_.PictureFound(Value_);
                return;
            }
            i += size_t(CharLength(tag.data() + i, end, Utf8_));
        }
    }

    // Lets either the colours or the pictures of a style attribute through.
    class TFilter : public TScanEvents {
    public:
        TFilter(TScanEvents& inner, bool colours) : Inner_(inner), Colours_(colours) {}
        void ColorFound(size_t pos, size_t length, TColorForm form, int nameIndex, const TColorPlace& place) override
        {
            if (Colours_) Inner_.ColorFound(pos, length, form, nameIndex, place);
        }
        void ChannelListFound(size_t pos, size_t length, std::string_view name) override
        {
            if (Colours_) Inner_.ChannelListFound(pos, length, name);
        }
        void ChannelVariableUsed(std::string_view name, TChannelReading reading) override
        {
            if (Colours_) Inner_.ChannelVariableUsed(name, reading);
        }
        void ChannelVariablesUsed(TChannelReading reading, const TChannelNames& names) override
        {
            if (Colours_) Inner_.ChannelVariablesUsed(reading, names);
        }
        void VariableAliasFound(std::string_view name, std::string_view target) override
        {
            if (Colours_) Inner_.VariableAliasFound(name, target);
        }
        void PictureFound(std::string_view ref) override
        {
            if (!Colours_) Inner_.PictureFound(ref);
        }
        bool WantsReferences() const override { return !Colours_; }

    private:
        TScanEvents& Inner_;
        bool Colours_;
    };

    std::string_view Text_;
    bool Utf8_;
    TScanEvents& Events_;
    bool WantRefs_;
    bool Svg_;
    int InlineSvg_ = 0;  // how many SVG elements of a page the walk is in
    std::string Copy_;
    std::string_view S_;
    std::string Tag_, Value_;
    std::vector<size_t> TagPos_;
    std::vector<std::pair<size_t, size_t>> StyleValues_;
};

} // namespace

void UpperCaseTags(std::string& text, bool utf8)
{
    enum { Text, Comment, Tag, DoubleQuoted, SingleQuoted, Parenthesised, Value } state = Text;
    char* p = text.data();
    char* const end = p + text.size();
    while (p < end) {
        const int len = CharLength(p, end, utf8);
        if (len == 1) {
            const char c = *p;
            switch (state) {
            case Text:
                if (c == '<') state = (end - p >= 4 && std::memcmp(p, "<!--", 4) == 0) ? Comment : Tag;
                break;
            case Comment:
                if (c == '-' && end - p >= 3 && std::memcmp(p, "-->", 3) == 0) state = Text;
                break;
            case Tag:
                if (c >= 'a' && c <= 'z') *p = char(c - 32);
                else if (c == '>') state = Text;
                else if (c == '"') state = DoubleQuoted;
                else if (c == '\'') state = SingleQuoted;
                else if (c == '=') state = Value;
                break;
            case SingleQuoted:
                if (c == '\'') state = Tag;
                break;
            case DoubleQuoted:
                if (c == '"') state = Tag;
                else if (c == '(') state = Parenthesised;
                break;
            case Parenthesised:
                if (c == ')') state = DoubleQuoted;
                break;
            case Value:
                if (c == ' ') state = Tag;
                else if (c == '"') state = DoubleQuoted;
                else if (c == '\'') state = SingleQuoted;
                else if (c == '>') state = Text;
                break;
            }
        }
        p += len;
    }
}

void WalkPage(std::string_view text, bool utf8, TScanEvents& events)
{
    TPageWalker(text, utf8, events, false).Run();
}

void WalkSvg(std::string_view text, bool utf8, TScanEvents& events)
{
    TPageWalker(text, utf8, events, true).Run();
}

} // namespace pictor
