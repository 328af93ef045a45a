#include "adjust/DarkScheme.h"

#include "adjust/DarkColors.h"
#include "document/ColorLiterals.h"
#include "document/CssOutline.h"
#include "document/DocumentText.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"
#include "document/VariableColors.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <iterator>
#include <map>

namespace pictor {

namespace {

constexpr std::string_view DarkMedia = "@media (prefers-color-scheme: dark) {\n";

// A span of the text and what stands there in the dark scheme.
struct TReplacement {
    std::size_t Pos = 0, Length = 0;
    std::string_view Text;
};
using TReplacements = std::vector<TReplacement>;  // in order of Pos

// text[from, to) with the replacements inside it in place.
void AppendReplaced(std::string& out, std::string_view text, std::size_t from, std::size_t to, const TReplacements& all)
{
    auto r = std::lower_bound(all.begin(), all.end(), from, [](const TReplacement& a, std::size_t p) { return a.Pos < p; });
    for (; r != all.end() && r->Pos + r->Length <= to; ++r) {
        out.append(text, from, r->Pos - from);
        out += r->Text;
        from = r->Pos + r->Length;
    }
    out.append(text, from, to - from);
}

bool IsKeyframes(std::string_view prelude)
{
    std::string lower(prelude.substr(0, 32));
    for (char& c : lower) c = char(std::tolower((unsigned char)c));
    if (!lower.starts_with('@')) return false;
    std::size_t name = 1;
    if (lower.size() > 1 && lower[1] == '-') {  // @-webkit-keyframes
        name = lower.find('-', 2);
        if (name == std::string::npos) return false;
        ++name;
    }
    return lower.compare(name, 9, "keyframes") == 0;
}

// A declaration's property, lower case.
std::string PropertyName(std::string_view text, const TCssDeclaration& declaration)
{
    std::string name(DeclarationName(text, declaration));
    for (char& c : name) c = char(std::tolower((unsigned char)c));
    return name;
}

bool IsNameChar(char c)
{
    return std::isalnum((unsigned char)c) || c == '-' || c == '_';
}

// Each "light" of a `color-scheme` that does not name dark, to be "dark" in the dark scheme: a sheet
// saying `color-scheme: light` would keep the browser's own colours (text, form controls) light there.
TReplacements LightSchemeWords(std::string_view text, const TCssOutline& outline)
{
    TReplacements words;
    for (const TCssDeclaration& declaration : outline.Declarations) {
        if (PropertyName(text, declaration) != "color-scheme") continue;
        std::string value(text.substr(declaration.Start, declaration.End - declaration.Start));
        for (char& c : value) c = char(std::tolower((unsigned char)c));
        std::vector<std::size_t> found;
        bool dark = false;
        for (std::size_t i = value.find(':') + 1; i < value.size();) {
            if (!IsNameChar(value[i])) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < value.size() && IsNameChar(value[end])) ++end;
            const std::string_view word = std::string_view(value).substr(i, end - i);
            if (word == "light") found.push_back(i);
            dark = dark || word == "dark";
            i = end;
        }
        if (dark) continue;
        for (const std::size_t at : found) words.push_back({declaration.Start + at, 5, "dark"});
    }
    return words;
}

// The dark block of one sheet or style block: every block holding a declaration with a colour, inside
// its ancestors; a @keyframes block whole, since a later one of its name replaces it entirely.
class TSchemeBlock {
public:
    TSchemeBlock(std::string_view text, const TCssOutline& outline, const TReplacements& replacements)
        : Text_(text), Outline_(outline), Replacements_(replacements), Held_(outline.Declarations.size()),
          Needed_(outline.Blocks.size()), Whole_(outline.Blocks.size())
    {
    }

    // The declaration that holds a colour at pos; false when none does. One under a
    // prefers-color-scheme query is the site's own scheme and stays as it is.
    bool Hold(std::size_t pos, std::size_t length)
    {
        const int d = Outline_.DeclarationAt(pos, length);
        if (d < 0) return false;
        HoldDeclaration(d);
        return true;
    }

    // Every other declaration of a property whose family (background, border, color...) a held one
    // sets: `background-color: transparent` or `color: inherit` after a repeated colour wins in the dark
    // scheme too only when it is repeated after it.
    void HoldFamilies()
    {
        std::vector<std::string> families;
        for (std::size_t d = 0; d < Held_.size(); ++d)
            if (Held_[d]) families.push_back(Family(int(d)));
        std::erase(families, std::string());
        std::sort(families.begin(), families.end());
        for (std::size_t d = 0; d < Held_.size(); ++d)
            if (!Held_[d] && std::binary_search(families.begin(), families.end(), Family(int(d)))) HoldDeclaration(int(d));
    }

    int Declarations() const { return int(std::count(Held_.begin(), Held_.end(), true)); }

    std::string Text() const
    {
        if (Declarations() == 0) return {};
        // Each block's declarations (>= 0) and nested blocks (-1 - index), in the order they stand.
        TItems items(Outline_.Blocks.size());
        for (std::size_t d = 0; d < Held_.size(); ++d) {
            if (!Held_[d]) continue;
            const TCssDeclaration& declaration = Outline_.Declarations[d];
            items[size_t(declaration.Block)].emplace_back(declaration.Start, int(d));
        }
        for (size_t b = 0; b < Outline_.Blocks.size(); ++b)
            if (Needed_[b] && Outline_.Blocks[b].Parent >= 0)
                items[size_t(Outline_.Blocks[b].Parent)].emplace_back(Outline_.Blocks[b].Open, -1 - int(b));
        for (auto& list : items) std::sort(list.begin(), list.end());

        std::string out = "\n";
        // What the text leaves open would swallow the block.
        if (Outline_.CommentAtEnd) out += "*/";
        out.append(size_t(Outline_.OpenAtEnd), '}');
        out += DarkMedia;
        for (size_t b = 0; b < Outline_.Blocks.size(); ++b)
            if (Needed_[b] && Outline_.Blocks[b].Parent < 0) Emit(int(b), items, out);
        out += "}\n";
        return out;
    }

private:
    using TItems = std::vector<std::vector<std::pair<std::size_t, int>>>;

    void HoldDeclaration(int d)
    {
        for (int b = Outline_.Declarations[size_t(d)].Block; b >= 0; b = Outline_.Blocks[size_t(b)].Parent)
            if (AsksColorScheme(Prelude(b))) return;
        Held_[size_t(d)] = true;
        for (int b = Outline_.Declarations[size_t(d)].Block; b >= 0; b = Outline_.Blocks[size_t(b)].Parent) {
            Needed_[size_t(b)] = true;
            if (IsKeyframes(Prelude(b))) Whole_[size_t(b)] = true;
        }
    }

    // The colour property a declaration sets, by family: up to its first "-" ("border-top-color":
    // border), lower case; a custom property whole; empty for a property that sets no colour
    // (border-radius, color-scheme).
    std::string Family(int d) const
    {
        const std::string name = PropertyName(Text_, Outline_.Declarations[size_t(d)]);
        if (name.starts_with("--")) return name;
        static constexpr std::string_view Shorthands[] = {
            "background", "background-image", "border", "border-top", "border-right", "border-bottom",
            "border-left", "border-block", "border-block-start", "border-block-end", "border-inline",
            "border-inline-start", "border-inline-end", "outline", "column-rule", "text-decoration", "box-shadow",
            "text-shadow", "fill", "stroke", "text-emphasis", "-webkit-text-stroke"};
        const bool setsColour = name.ends_with("color") ||
                                std::find(std::begin(Shorthands), std::end(Shorthands), name) != std::end(Shorthands);
        if (!setsColour) return {};
        return name.starts_with('-') ? name : name.substr(0, name.find('-'));
    }

    std::string_view Prelude(int b) const
    {
        const TCssBlock& block = Outline_.Blocks[size_t(b)];
        return Text_.substr(block.PreludeStart, block.PreludeEnd - block.PreludeStart);
    }

    void Emit(int b, const TItems& items, std::string& out) const
    {
        const TCssBlock& block = Outline_.Blocks[size_t(b)];
        out += Prelude(b);
        out += " {";
        if (Whole_[size_t(b)]) {
            AppendReplaced(out, Text_, block.Open + 1, block.Close, Replacements_);
            out += "}\n";
            return;
        }
        bool nested = false;
        for (const auto& [pos, item] : items[size_t(b)]) {
            if (item >= 0) {
                const TCssDeclaration& declaration = Outline_.Declarations[size_t(item)];
                out += ' ';
                AppendReplaced(out, Text_, declaration.Start, declaration.End, Replacements_);
                out += ';';
            } else {
                out += '\n';
                Emit(-1 - item, items, out);
                nested = true;
            }
        }
        out += nested ? "}\n" : " }\n";
    }

    std::string_view Text_;
    const TCssOutline& Outline_;
    const TReplacements& Replacements_;
    std::vector<bool> Held_;  // by declaration
    std::vector<bool> Needed_, Whole_;
};

// What the page walk tells of where things stand.
class TPagePlaces : public TScanEvents {
public:
    struct TFound {
        std::size_t Pos;
        TColorForm Form;
        std::size_t Tag;
    };
    std::vector<TFound> Colors;
    std::vector<std::pair<std::size_t, std::size_t>> StyleBlocks;
    std::size_t Head = 0;  // 0: no HEAD tag

    void ColorFound(std::size_t pos, std::size_t, TColorForm form, int, const TColorPlace& place) override
    {
        Colors.push_back({pos, form, place.Group});
    }
    void StyleBlockFound(std::size_t contents, std::size_t end) override { StyleBlocks.emplace_back(contents, end); }
    void HeadFound(std::size_t afterTag) override
    {
        if (!Head) Head = afterTag;
    }
    bool WantsReferences() const override { return false; }
};

std::string UpperName(std::string_view text, std::size_t from)
{
    std::string name;
    for (; from < text.size() && (std::isalnum((unsigned char)text[from]) || text[from] == '-'); ++from)
        name += char(std::toupper((unsigned char)text[from]));
    return name;
}

// The name of the attribute whose quoted value starts at pos.
std::string AttributeName(std::string_view text, std::size_t pos)
{
    std::size_t i = pos;
    if (i > 0 && (text[i - 1] == '"' || text[i - 1] == '\'')) --i;
    while (i > 0 && (text[i - 1] == ' ' || text[i - 1] == '\t' || text[i - 1] == '\r' || text[i - 1] == '\n')) --i;
    if (i == 0 || text[i - 1] != '=') return {};
    --i;
    while (i > 0 && (text[i - 1] == ' ' || text[i - 1] == '\t' || text[i - 1] == '\r' || text[i - 1] == '\n')) --i;
    std::size_t start = i;
    while (start > 0 && (std::isalnum((unsigned char)text[start - 1]) || text[start - 1] == '-')) --start;
    return UpperName(text, start);
}

std::string CssString(std::string_view value)
{
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The rule that gives an element's colour attribute its dark colour, or nothing for an attribute no
// property stands for.
std::string AttributeRule(const std::string& tag, const std::string& attribute, std::string_view value,
                          std::string_view dark)
{
    std::string element = tag;
    for (char& c : element) c = char(std::tolower((unsigned char)c));
    std::string name = attribute;
    for (char& c : name) c = char(std::tolower((unsigned char)c));
    const std::string matched = element + "[" + name + "=" + CssString(value) + " i]";
    std::string selector, property;
    if (attribute == "BGCOLOR") {
        selector = matched;
        property = "background-color";
    } else if (attribute == "COLOR" && (tag == "FONT" || tag == "BASEFONT")) {
        selector = matched;
        property = "color";
    } else if (tag == "BODY" && attribute == "TEXT") {
        selector = matched;
        property = "color";
    } else if (tag == "BODY" && (attribute == "LINK" || attribute == "VLINK" || attribute == "ALINK")) {
        selector = matched + (attribute == "LINK" ? " :link" : attribute == "VLINK" ? " :visited" : " :any-link:active");
        property = "color";
    } else {
        return {};
    }
    return ":where(" + selector + ") { " + property + ": " + std::string(dark) + "; }\n";
}

struct TLightDarkCall {
    std::size_t Start = 0, End = 0;           // "light-dark(" ... ")"
    std::size_t FirstStart = 0, FirstEnd = 0; // its first argument, trimmed
};

// The light-dark() calls of the declarations, outermost only.
std::vector<TLightDarkCall> LightDarkCalls(std::string_view text, const TCssOutline& outline, bool utf8)
{
    const auto pastString = [&](std::size_t i, std::size_t end) { return std::min(PastCssString(text, i, utf8), end); };
    constexpr std::string_view Name = "light-dark(";
    std::vector<TLightDarkCall> calls;
    for (const TCssDeclaration& declaration : outline.Declarations) {
        for (std::size_t i = declaration.Start; i < declaration.End;) {
            if (text[i] == '"' || text[i] == '\'') {
                i = pastString(i, declaration.End);
                continue;
            }
            const bool starts = i + Name.size() <= declaration.End &&
                                (i == declaration.Start || !IsNameChar(text[i - 1])) &&
                                std::equal(Name.begin(), Name.end(), text.begin() + std::ptrdiff_t(i),
                                           [](char a, char b) { return a == std::tolower((unsigned char)b); });
            if (!starts) {
                ++i;
                continue;
            }
            TLightDarkCall call{i, 0, i + Name.size(), 0};
            int depth = 1;
            std::size_t j = call.FirstStart;
            while (j < declaration.End && depth > 0) {
                const char c = text[j];
                if (c == '"' || c == '\'') {
                    j = pastString(j, declaration.End);
                    continue;
                }
                if (c == '(') ++depth;
                if (c == ')') --depth;
                if (c == ',' && depth == 1 && !call.FirstEnd) call.FirstEnd = j;
                ++j;
            }
            if (depth > 0 || !call.FirstEnd) break; // unclosed or one argument: no light-dark() a browser takes
            call.End = j;
            while (call.FirstStart < call.FirstEnd && std::isspace((unsigned char)text[call.FirstStart]))
                ++call.FirstStart;
            while (call.FirstEnd > call.FirstStart && std::isspace((unsigned char)text[call.FirstEnd - 1]))
                --call.FirstEnd;
            calls.push_back(call);
            i = call.End;
        }
    }
    return calls;
}

// light-dark(A, B) shows A in the light page; in the dark scheme the page's colour scheme is dark and B
// would show, the site's own dark colour made dark again. The block so says A, dark: each call becomes
// one replacement covering the records inside it. Every call is held, its colours through variables too.
void ResolveLightDark(std::string_view text, const TCssOutline& outline, bool utf8, TReplacements& replacements,
                      std::vector<std::pair<std::size_t, std::size_t>>& records, std::deque<std::string>& texts)
{
    for (const TLightDarkCall& call : LightDarkCalls(text, outline, utf8)) {
        const auto byPos = [](const TReplacement& r, std::size_t p) { return r.Pos < p; };
        const auto first = std::lower_bound(replacements.begin(), replacements.end(), call.Start, byPos);
        const auto last = std::lower_bound(first, replacements.end(), call.End, byPos);
        std::string& written = texts.emplace_back();
        AppendReplaced(written, text, call.FirstStart, call.FirstEnd, replacements);
        const std::size_t i = std::size_t(first - replacements.begin()), n = std::size_t(last - first);
        const std::pair<std::size_t, std::size_t> covered =
            n ? std::pair(records[i].first, records[i + n - 1].second) : std::pair<std::size_t, std::size_t>(0, 0);
        replacements.erase(first, last);
        records.erase(records.begin() + std::ptrdiff_t(i), records.begin() + std::ptrdiff_t(i + n));
        replacements.insert(replacements.begin() + std::ptrdiff_t(i), {call.Start, call.End - call.Start, written});
        records.insert(records.begin() + std::ptrdiff_t(i), covered);
    }
}

void AddSheetBlock(TElements& file, std::size_t from, std::size_t to, const std::vector<std::string>& dark,
                   TDarkScheme& result, std::vector<bool>& reached)
{
    const TCssOutline outline = OutlineCss(file.Text, from, to, file.WalksAsUtf8());
    TReplacements replacements;
    std::vector<std::pair<std::size_t, std::size_t>> records;  // the records [first, last) of each replacement
    // A data: URL's picture is one replacement, its data with every colour of it dark; so is a
    // light-dark() call.
    std::deque<std::string> pictures;
    for (std::size_t k = 0, next = 0; k < file.Colors.size(); k = next) {
        const TColorRecord& r = file.Colors[k];
        const bool embedded = r.Embed.Kind != TEmbedding::None;
        next = k + 1;
        while (embedded && next < file.Colors.size() && file.Colors[next].Embed.Pos == r.Embed.Pos &&
               file.Colors[next].Embed.Kind == r.Embed.Kind)
            ++next;
        const std::size_t pos = embedded ? r.Embed.Pos : r.SourcePos, length = embedded ? r.Embed.Length : r.OrgText.size();
        if (pos < from || pos >= to) continue;
        if (!replacements.empty() && pos < replacements.back().Pos + replacements.back().Length) continue;
        std::string_view text = dark[k];
        if (embedded) {
            std::vector<TColorRecord> piece(file.Colors.begin() + std::ptrdiff_t(k), file.Colors.begin() + std::ptrdiff_t(next));
            for (std::size_t n = 0; n < piece.size(); ++n) piece[n].Text = dark[k + n];
            text = pictures.emplace_back(RewriteEmbedded(std::string_view(file.Text).substr(pos, length), r.Embed.Kind, piece));
        }
        replacements.push_back({pos, length, text});
        records.emplace_back(k, next);
    }
    ResolveLightDark(file.Text, outline, file.WalksAsUtf8(), replacements, records, pictures);
    const TReplacements schemeWords = LightSchemeWords(file.Text, outline);
    TReplacements all;
    std::merge(replacements.begin(), replacements.end(), schemeWords.begin(), schemeWords.end(),
               std::back_inserter(all), [](const TReplacement& a, const TReplacement& b) { return a.Pos < b.Pos; });
    TSchemeBlock block(file.Text, outline, all);
    for (std::size_t n = 0; n < records.size(); ++n)
        if (block.Hold(replacements[n].Pos, replacements[n].Length))
            std::fill(reached.begin() + std::ptrdiff_t(records[n].first), reached.begin() + std::ptrdiff_t(records[n].second), true);
    block.HoldFamilies();
    for (const TReplacement& word : schemeWords) block.Hold(word.Pos, word.Length);
    result.Declarations += block.Declarations();
    std::string text = block.Text();
    if (!text.empty()) file.Added.push_back({to, std::move(text)});
}

} // namespace

TDarkScheme FollowReaderScheme(IFileSet& files, const TAdjustment& dark, bool lowerCase)
{
    // The light colours, kept; the dark ones made with contrast kept, taken, and the light put back.
    std::vector<std::vector<TColorRecord>> light(size_t(files.FileCount()));
    for (int i = 0; i < files.FileCount(); ++i)
        light[size_t(i)].assign(files.Elements(i).Colors.begin(), files.Elements(i).Colors.end());
    TDarkScheme result;
    result.Nudged = ApplyDarkColors(files, dark, lowerCase);

    for (int i = 0; i < files.FileCount(); ++i) {
        TElements& file = files.Elements(i);
        std::vector<std::string> darkTexts;
        darkTexts.reserve(file.Colors.size());
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            darkTexts.push_back(file.Colors[k].Text);
            file.Colors[k].Text = light[size_t(i)][k].Text;
            file.Colors[k].Color = light[size_t(i)][k].Color;
        }
        file.Added.clear();
        std::vector<bool> reached(file.Colors.size());
        const auto leave = [&](std::size_t k, std::string why) {
            const TColorRecord& r = file.Colors[k];
            if (!reached[k] && r.Checked && darkTexts[k] != r.Text) result.LeftLight.push_back({i, k, std::move(why)});
        };
        if (file.IsSvg) {
            for (std::size_t k = 0; k < file.Colors.size(); ++k) leave(k, "in an SVG picture");
            continue;
        }
        if (!files.IsPage(i)) {
            AddSheetBlock(file, 0, file.Text.size(), darkTexts, result, reached);
            for (std::size_t k = 0; k < file.Colors.size(); ++k) leave(k, "in a data: URL's picture");
            continue;
        }
        TPagePlaces places;
        WalkFile(file, true, places);
        // The attributes' rules and the meta tag come first in HEAD, before every sheet.
        std::string attributeRules;
        std::map<std::string, bool> ruleWritten;
        std::sort(places.Colors.begin(), places.Colors.end(),
                  [](const TPagePlaces::TFound& a, const TPagePlaces::TFound& b) { return a.Pos < b.Pos; });
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& r = file.Colors[k];
            if (r.Embed.Kind != TEmbedding::None || !r.Checked || darkTexts[k] == r.Text) continue;
            const auto found = std::lower_bound(places.Colors.begin(), places.Colors.end(), r.SourcePos,
                                                [](const TPagePlaces::TFound& f, std::size_t p) { return f.Pos < p; });
            if (found == places.Colors.end() || found->Pos != r.SourcePos || found->Form != TColorForm::Attribute) continue;
            const std::string rule = AttributeRule(UpperName(file.Text, found->Tag + 1), AttributeName(file.Text, r.SourcePos),
                                                   r.Text, darkTexts[k]);
            if (rule.empty() || !places.Head) continue;
            reached[k] = true;
            if (ruleWritten.emplace(rule, true).second) attributeRules += rule;
        }
        if (places.Head) {
            // The browser's own text turns white in the dark scheme; black's dark colour keeps a text no
            // rule colours on the mirror like every other.
            const std::string pageText =
                ":where(:root) { color: " + ColorToCode(DarkColor(RGB(0, 0, 0), dark.DarkEnds()), lowerCase) + "; }\n";
            file.Added.push_back({places.Head, "\n<meta name=\"color-scheme\" content=\"light dark\">\n<style>\n" +
                                                   std::string(DarkMedia) + pageText + attributeRules + "}\n</style>"});
        }
        for (const auto& [from, to] : places.StyleBlocks) AddSheetBlock(file, from, to, darkTexts, result, reached);
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& r = file.Colors[k];
            const bool inBlock = std::any_of(places.StyleBlocks.begin(), places.StyleBlocks.end(),
                                             [&](const auto& b) { return r.SourcePos >= b.first && r.SourcePos < b.second; });
            leave(k, r.Embed.Kind != TEmbedding::None ? "in a data: URL's picture"
                     : inBlock                        ? "outside any declaration"
                     : !places.Head                   ? "a colour attribute of a page without a HEAD tag"
                                                      : "in a style attribute or an attribute no property stands for");
        }
        std::stable_sort(file.Added.begin(), file.Added.end(),
                         [](const TAddedText& a, const TAddedText& b) { return a.Pos < b.Pos; });
    }
    return result;
}

} // namespace pictor
