#include "adjust/DarkScheme.h"

#include "adjust/DarkColors.h"
#include "adjust/RelativeDark.h"
#include "adjust/SchemeBlock.h"
#include "document/ChannelLists.h"
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

// light-dark(A, B) shows A in the light page; in the dark scheme the page's colour scheme is dark and B
// would show, the site's own dark colour made dark again. The block so says A, dark: each call becomes
// one replacement covering the records inside it. Every call is held, its colours through variables too.
void ResolveLightDark(std::string_view text, const TCssOutline& outline, bool utf8, TReplacements& replacements,
                      std::vector<std::pair<std::size_t, std::size_t>>& records, std::deque<std::string>& texts)
{
    for (const TCssCall& call : CssCalls(text, outline, utf8, {"light-dark("})) {
        if (!call.FirstComma) continue; // one argument: no light-dark() a browser takes
        std::size_t argument = call.Args, argumentEnd = call.FirstComma;
        while (argument < argumentEnd && std::isspace((unsigned char)text[argument])) ++argument;
        while (argumentEnd > argument && std::isspace((unsigned char)text[argumentEnd - 1])) --argumentEnd;
        const auto byPos = [](const TReplacement& r, std::size_t p) { return r.Pos < p; };
        const auto first = std::lower_bound(replacements.begin(), replacements.end(), call.Start, byPos);
        const auto last = std::lower_bound(first, replacements.end(), call.End, byPos);
        std::string& written = texts.emplace_back();
        AppendReplaced(written, text, argument, argumentEnd, replacements);
        const std::size_t i = std::size_t(first - replacements.begin()), n = std::size_t(last - first);
        const std::pair<std::size_t, std::size_t> covered =
            n ? std::pair(records[i].first, records[i + n - 1].second) : std::pair<std::size_t, std::size_t>(0, 0);
        replacements.erase(first, last);
        records.erase(records.begin() + std::ptrdiff_t(i), records.begin() + std::ptrdiff_t(i + n));
        replacements.insert(replacements.begin() + std::ptrdiff_t(i), {call.Start, call.End - call.Start, written});
        records.insert(records.begin() + std::ptrdiff_t(i), covered);
    }
}

// a and b in one list by place; of two that overlap, the one that starts first (the outer one) stays.
TReplacements Merged(const TReplacements& a, const TReplacements& b)
{
    TReplacements both;
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both),
               [](const TReplacement& x, const TReplacement& y) {
                   return x.Pos < y.Pos || (x.Pos == y.Pos && x.Length > y.Length);
               });
    TReplacements out;
    for (const TReplacement& r : both)
        if (out.empty() || r.Pos >= out.back().Pos + out.back().Length) out.push_back(r);
    return out;
}

// What the blocks of one file are made with.
struct TSchemeInputs {
    const std::vector<std::string>& Texts; // each record's dark text
    const TTickedChannels& Ticked;
    const TAdjustment& Dark;
    bool LowerCase;
};

// The rules of the block where relative colours are taken: the ticked one-channel variables light again,
// the calls reading them mirrored by the browser.
std::string RelativeRules(const TElements& file, const TStyleText& style, const TReplacements& replacements,
                          const std::vector<std::pair<std::size_t, std::size_t>>& records, const TSchemeInputs& inputs,
                          std::deque<std::string>& texts)
{
    const TCssOutline& outline = style.Outline;
    const auto isChannel = [&](std::size_t n) {
        if (records[n].second != records[n].first + 1) return false;  // a picture, a light-dark() call
        const TChannelRole role = file.Colors[records[n].first].Channels;
        return role.Reading != TChannelReading::None && role.Channel >= 0;
    };
    TReplacements kept, restored;
    std::map<int, double> nudged; // declaration -> the lightness contrast moved its variable to
    for (std::size_t n = 0; n < records.size(); ++n) {
        if (!isChannel(n)) {
            kept.push_back(replacements[n]);
            continue;
        }
        const int d = outline.DeclarationAt(replacements[n].Pos, replacements[n].Length);
        const TColorRecord& light = file.Colors[records[n].first];
        if (d < 0 || replacements[n].Text == light.Text) continue;
        restored.push_back(replacements[n]);
        if (const auto lightness = NudgedLightness(light, replacements[n].Text, inputs.Dark, inputs.LowerCase))
            nudged[d] = *lightness;
    }
    const TReplacements calls =
        RelativeDarkCalls(file.Text, style, file.WalksAsUtf8(), inputs.Ticked, inputs.Dark.DarkEnds(), texts);
    const TReplacements relativeAll = Merged(kept, calls);
    TSchemeBlock relative(file.Text, outline, relativeAll);
    for (const TReplacement& r : restored) relative.Hold(r.Pos, r.Length);
    for (const TReplacement& r : calls) relative.Hold(r.Pos, r.Length);
    // Every value of a lightness variable says what its nudged lightness is, if any, so that a rule that
    // sets the variable again, or makes it another, sets that too.
    for (std::size_t d = 0; d < outline.Declarations.size(); ++d) {
        const std::string_view name = DeclarationName(file.Text, outline.Declarations[d]);
        if (!inputs.Ticked.Lightness.contains(name)) continue;
        relative.Hold(outline.Declarations[d].Start, 0);
        const std::string_view target = AliasedVariable(DeclarationValue(file.Text, outline.Declarations[d]));
        const auto moved = nudged.find(int(d));
        relative.Follow(int(d), NudgedName(name) + ": " +
                                    (moved != nudged.end()                      ? Decimal(moved->second, 4)
                                     : inputs.Ticked.Lightness.contains(target) ? "var(" + NudgedName(target) + ")"
                                                                                : std::string("initial")));
    }
    if (relative.Declarations() == 0) return {};
    relative.HoldFamilies();
    return std::string(RelativeColorSupport) + relative.Rules() + "}\n";
}

void AddSheetBlock(TElements& file, const TStyleText& style, const TSchemeInputs& inputs, TDarkScheme& result,
                   std::vector<bool>& reached)
{
    const TCssOutline& outline = style.Outline;
    TReplacements replacements;
    std::vector<std::pair<std::size_t, std::size_t>> records;  // the records [first, last) of each replacement
    // A data: URL's picture is one replacement, its data with every colour of it dark; so is a
    // light-dark() call.
    std::deque<std::string> texts;
    for (std::size_t k = 0, next = 0; k < file.Colors.size(); k = next) {
        const TColorRecord& r = file.Colors[k];
        const bool embedded = r.Embed.Kind != TEmbedding::None;
        next = k + 1;
        while (embedded && next < file.Colors.size() && file.Colors[next].Embed.Pos == r.Embed.Pos &&
               file.Colors[next].Embed.Kind == r.Embed.Kind)
            ++next;
        const std::size_t pos = embedded ? r.Embed.Pos : r.SourcePos, length = embedded ? r.Embed.Length : r.OrgText.size();
        if (pos < style.From || pos >= style.To) continue;
        if (!replacements.empty() && pos < replacements.back().Pos + replacements.back().Length) continue;
        std::string_view text = inputs.Texts[k];
        if (embedded) {
            std::vector<TColorRecord> piece(file.Colors.begin() + std::ptrdiff_t(k), file.Colors.begin() + std::ptrdiff_t(next));
            for (std::size_t n = 0; n < piece.size(); ++n) piece[n].Text = inputs.Texts[k + n];
            text = texts.emplace_back(
                RewriteEmbedded(std::string_view(file.Text).substr(pos, length), r.Embed.Kind, piece));
        }
        replacements.push_back({pos, length, text});
        records.emplace_back(k, next);
    }
    ResolveLightDark(file.Text, outline, file.WalksAsUtf8(), replacements, records, texts);
    const TReplacements schemeWords = LightSchemeWords(file.Text, outline);
    const TReplacements all = Merged(replacements, schemeWords);
    TSchemeBlock block(file.Text, outline, all);
    for (std::size_t n = 0; n < records.size(); ++n)
        if (block.Hold(replacements[n].Pos, replacements[n].Length))
            std::fill(reached.begin() + std::ptrdiff_t(records[n].first), reached.begin() + std::ptrdiff_t(records[n].second), true);
    block.HoldFamilies();
    for (const TReplacement& word : schemeWords) block.Hold(word.Pos, word.Length);
    result.Declarations += block.Declarations();

    const std::string rules = block.Rules() + RelativeRules(file, style, replacements, records, inputs, texts);
    if (rules.empty()) return;
    std::string text = "\n";
    // What the text leaves open would swallow the block.
    if (outline.CommentAtEnd) text += "*/";
    text.append(size_t(outline.OpenAtEnd), '}');
    file.Added.push_back({style.To, text + std::string(DarkMedia) + rules + "}\n"});
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

    // Every file's sheet or style blocks, outlined.
    std::vector<TPagePlaces> places(size_t(files.FileCount()));
    std::vector<std::vector<TStyleText>> styles(size_t(files.FileCount()));
    for (int i = 0; i < files.FileCount(); ++i) {
        TElements& file = files.Elements(i);
        auto& blocks = styles[size_t(i)];
        if (file.IsSvg) continue;
        if (!files.IsPage(i)) {
            blocks.push_back({0, file.Text.size(), OutlineCss(file.Text, 0, file.Text.size(), file.WalksAsUtf8())});
            continue;
        }
        WalkFile(file, true, places[size_t(i)]);
        for (const auto& [from, to] : places[size_t(i)].StyleBlocks)
            blocks.push_back({from, to, OutlineCss(file.Text, from, to, file.WalksAsUtf8())});
    }
    const TTickedChannels ticked = TickedChannelVariables(files, styles);

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
        const TSchemeInputs inputs{darkTexts, ticked, dark, lowerCase};
        for (const TStyleText& style : styles[size_t(i)]) AddSheetBlock(file, style, inputs, result, reached);
        if (file.IsSvg) {
            for (std::size_t k = 0; k < file.Colors.size(); ++k) leave(k, "in an SVG picture");
            continue;
        }
        if (!files.IsPage(i)) {
            for (std::size_t k = 0; k < file.Colors.size(); ++k) leave(k, "in a data: URL's picture");
            continue;
        }
        TPagePlaces& page = places[size_t(i)];
        // The attributes' rules and the meta tag come first in HEAD, before every sheet.
        std::string attributeRules;
        std::map<std::string, bool> ruleWritten;
        std::sort(page.Colors.begin(), page.Colors.end(),
                  [](const TPagePlaces::TFound& a, const TPagePlaces::TFound& b) { return a.Pos < b.Pos; });
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& r = file.Colors[k];
            if (r.Embed.Kind != TEmbedding::None || !r.Checked || darkTexts[k] == r.Text) continue;
            const auto found = std::lower_bound(page.Colors.begin(), page.Colors.end(), r.SourcePos,
                                                [](const TPagePlaces::TFound& f, std::size_t p) { return f.Pos < p; });
            if (found == page.Colors.end() || found->Pos != r.SourcePos || found->Form != TColorForm::Attribute)
                continue;
            const std::string rule = AttributeRule(UpperName(file.Text, found->Tag + 1), AttributeName(file.Text, r.SourcePos),
                                                   r.Text, darkTexts[k]);
            if (rule.empty() || !page.Head) continue;
            reached[k] = true;
            if (ruleWritten.emplace(rule, true).second) attributeRules += rule;
        }
        if (page.Head) {
            // The browser's own text turns white in the dark scheme; black's dark colour keeps a text no
            // rule colours on the mirror like every other.
            const std::string pageText =
                ":where(:root) { color: " + ColorToCode(DarkColor(RGB(0, 0, 0), dark.DarkEnds()), lowerCase) + "; }\n";
            file.Added.push_back({page.Head, "\n<meta name=\"color-scheme\" content=\"light dark\">\n<style>\n" +
                                                 std::string(DarkMedia) + pageText + attributeRules + "}\n</style>"});
        }
        for (std::size_t k = 0; k < file.Colors.size(); ++k) {
            const TColorRecord& r = file.Colors[k];
            const bool inBlock = std::any_of(page.StyleBlocks.begin(), page.StyleBlocks.end(), [&](const auto& b) {
                return r.SourcePos >= b.first && r.SourcePos < b.second;
            });
            leave(k, r.Embed.Kind != TEmbedding::None ? "in a data: URL's picture"
                     : inBlock                        ? "outside any declaration"
                     : !page.Head                     ? "a colour attribute of a page without a HEAD tag"
                                                      : "in a style attribute or an attribute no property stands for");
        }
        std::stable_sort(file.Added.begin(), file.Added.end(),
                         [](const TAddedText& a, const TAddedText& b) { return a.Pos < b.Pos; });
    }
    return result;
}

} // namespace pictor
