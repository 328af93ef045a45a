#include "document/CssOutline.h"

#include "encoding/CharCode.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace pictor {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

class TOutliner {
public:
    TOutliner(std::string_view text, std::size_t to, bool utf8) : T_(text.substr(0, to)), Utf8_(utf8) {}

    TCssOutline Run(std::size_t i)
    {
        std::vector<int> open;
        while (i < T_.size()) {
            const char c = T_[i];
            if (IsSpace(c) || c == ';') {
                ++i;
            } else if (Starts(i, "/*")) {
                i = SkipComment(i);
            } else if (open.empty() && (Starts(i, "<!--") || Starts(i, "-->"))) {
                i += Starts(i, "<!--") ? 4 : 3;  // stepped over at the top, as CSS does
            } else if (c == '}') {
                if (!open.empty()) {
                    Out_.Blocks[size_t(open.back())].Close = i;
                    open.pop_back();
                }
                ++i;
            } else {
                const std::size_t end = ItemEnd(i);
                if (end < T_.size() && T_[end] == '{') {
                    open.push_back(int(Out_.Blocks.size()));
                    Out_.Blocks.push_back({i, TrimEnd(i, end), end, T_.size(), open.size() > 1 ? open[open.size() - 2] : -1});
                    i = end + 1;
                } else {
                    if (!open.empty()) Out_.Declarations.push_back({i, TrimEnd(i, end), open.back()});
                    i = end;
                }
            }
        }
        Out_.OpenAtEnd = int(open.size());
        return std::move(Out_);
    }

private:
    bool Starts(std::size_t i, std::string_view s) const { return T_.compare(i, s.size(), s) == 0; }
    std::size_t Step(std::size_t i) const
    {
        return static_cast<unsigned char>(T_[i]) < 0x80 ? i + 1
                                                        : i + std::size_t(CharLength(T_.data() + i, T_.data() + T_.size(), Utf8_));
    }
    std::size_t SkipComment(std::size_t i)
    {
        const std::size_t close = T_.find("*/", i + 2);
        if (close != std::string_view::npos) return close + 2;
        Out_.CommentAtEnd = true;
        return T_.size();
    }
    std::size_t SkipString(std::size_t i) const { return PastCssString(T_, i, Utf8_); }
    // Where the item at i ends: its "{" or ";" outside parentheses, or a "}".
    std::size_t ItemEnd(std::size_t i)
    {
        int parens = 0;
        while (i < T_.size()) {
            const char c = T_[i];
            if (c == '/' && Starts(i, "/*")) {
                i = SkipComment(i);
            } else if (c == '"' || c == '\'') {
                i = SkipString(i);
            } else if (c == '\\') {
                i = i + 1 < T_.size() ? Step(i + 1) : T_.size();
            } else if (c == '(') {
                ++parens;
                ++i;
            } else if (c == ')') {
                parens = std::max(0, parens - 1);
                ++i;
            } else if ((c == ';' || c == '{') && parens == 0) {
                return i;
            } else if (c == '}') {
                return i;
            } else {
                i = Step(i);
            }
        }
        return T_.size();
    }
    std::size_t TrimEnd(std::size_t from, std::size_t end) const
    {
        while (end > from && IsSpace(T_[end - 1])) --end;
        return end;
    }

    std::string_view T_;
    bool Utf8_;
    TCssOutline Out_;
};

} // namespace

std::size_t PastCssString(std::string_view text, std::size_t quote, bool utf8)
{
    const auto step = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]) < 0x80
                   ? i + 1
                   : i + std::size_t(CharLength(text.data() + i, text.data() + text.size(), utf8));
    };
    for (std::size_t j = quote + 1; j < text.size();) {
        const char c = text[j];
        if (c == text[quote]) return j + 1;
        if (c == '\n' || c == '\r' || c == '\f') return j;
        j = c == '\\' && j + 1 < text.size() ? step(j + 1) : step(j);
    }
    return text.size();
}

namespace {

bool IsNameChar(char c)
{
    return std::isalnum((unsigned char)c) || c == '-' || c == '_';
}

// The name of names that stands at i in text (as a whole word), or an empty one.
std::string_view NameAt(std::string_view text, std::size_t i, std::size_t end,
                        std::initializer_list<std::string_view> names)
{
    if (i > 0 && IsNameChar(text[i - 1])) return {};
    for (const std::string_view name : names)
        if (i + name.size() <= end && std::equal(name.begin(), name.end(), text.begin() + std::ptrdiff_t(i),
                                                 [](char a, char b) { return a == std::tolower((unsigned char)b); }))
            return name;
    return {};
}

} // namespace

std::vector<TCssCall> CssCalls(std::string_view text, const TCssOutline& outline, bool utf8,
                               std::initializer_list<std::string_view> names)
{
    std::vector<TCssCall> calls;
    for (const TCssDeclaration& declaration : outline.Declarations) {
        const auto pastString = [&](std::size_t i) { return std::min(PastCssString(text, i, utf8), declaration.End); };
        for (std::size_t i = declaration.Start; i < declaration.End;) {
            if (text[i] == '"' || text[i] == '\'') {
                i = pastString(i);
                continue;
            }
            const std::string_view name = NameAt(text, i, declaration.End, names);
            if (name.empty()) {
                ++i;
                continue;
            }
            TCssCall call{i, i + name.size(), 0, 0};
            int depth = 1;
            std::size_t j = call.Args;
            while (j < declaration.End && depth > 0) {
                const char c = text[j];
                if (c == '"' || c == '\'') {
                    j = pastString(j);
                    continue;
                }
                if (c == '(') ++depth;
                if (c == ')') --depth;
                if (c == ',' && depth == 1 && !call.FirstComma) call.FirstComma = j;
                ++j;
            }
            if (depth > 0) break; // what follows is inside it
            call.End = j;
            calls.push_back(call);
            i = call.End;
        }
    }
    return calls;
}

int TCssOutline::DeclarationAt(std::size_t pos, std::size_t length) const
{
    const auto after = std::upper_bound(Declarations.begin(), Declarations.end(), pos,
                                        [](std::size_t p, const TCssDeclaration& d) { return p < d.Start; });
    if (after == Declarations.begin()) return -1;
    const auto& d = *std::prev(after);
    return pos + length <= d.End ? int(std::prev(after) - Declarations.begin()) : -1;
}

bool AsksColorScheme(std::string_view prelude)
{
    std::string lower(prelude);
    for (char& c : lower) c = char(std::tolower((unsigned char)c));
    return lower.starts_with("@media") && lower.find("prefers-color-scheme") != std::string::npos;
}

TCssOutline OutlineCss(std::string_view text, std::size_t from, std::size_t to, bool utf8)
{
    return TOutliner(text, std::min(to, text.size()), utf8).Run(from);
}

} // namespace pictor
