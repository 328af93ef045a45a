#include "document/SelectorPairs.h"

#include "base/AsciiText.h"
#include "document/CssOutline.h"
#include "document/DocumentText.h"
#include "document/SelectorScanner.h"
#include "document/VariableColors.h"

#include <algorithm>
#include <functional>
#include <tuple>
#include <unordered_map>

namespace pictor {

namespace {

// The selectors of a rule's prelude, split at the commas outside parentheses, brackets and strings.
std::vector<std::string_view> SplitSelectors(std::string_view prelude)
{
    std::vector<std::string_view> out;
    std::size_t from = 0;
    TSelectorScanner scanner(prelude);
    while (const auto step = scanner.Next())
        if (step->Plain && prelude[step->Pos] == ',') {
            out.push_back(prelude.substr(from, step->Pos - from));
            from = step->Pos + 1;
        }
    out.push_back(prelude.substr(from));
    return out;
}

// Where the walk found text and background colours, by place.
class TRoles : public TScanEvents {
public:
    struct TFound {
        std::size_t Pos;
        TColorRole Role;
        std::size_t Declaration;
    };
    std::vector<TFound> Found;
    std::vector<std::pair<std::size_t, std::size_t>> StyleBlocks;

    void ColorFound(std::size_t pos, std::size_t, TColorForm, int, const TColorPlace& place) override
    {
        Found.push_back({pos, place.Role, place.Declaration});
    }
    void StyleBlockFound(std::size_t contents, std::size_t end) override { StyleBlocks.emplace_back(contents, end); }
    bool WantsReferences() const override { return false; }

    // Found is in order of place.
    const TFound* At(std::size_t pos) const
    {
        const auto it = std::lower_bound(Found.begin(), Found.end(), pos, [](const TFound& f, std::size_t p) { return f.Pos < p; });
        return it != Found.end() && it->Pos == pos ? &*it : nullptr;
    }
    // A "background" is a background colour only when its declaration holds that one colour: the
    // colours of one declaration stand side by side.
    bool IsBackground(const TFound& f) const
    {
        if (f.Role == TColorRole::Background) return true;
        if (f.Role != TColorRole::Shorthand) return false;
        const std::size_t k = std::size_t(&f - Found.data());
        return (k == 0 || Found[k - 1].Declaration != f.Declaration) &&
               (k + 1 == Found.size() || Found[k + 1].Declaration != f.Declaration);
    }
};

// The blocks that style the root as the page is read in any scheme: :root, html or body, outside the
// site's own colour scheme.
std::vector<bool> RootBlocks(const TCssOutline& outline, const std::function<std::vector<std::string_view>(int)>& selectorsOf,
                             std::string_view text)
{
    std::vector<bool> root(outline.Blocks.size());
    for (std::size_t b = 0; b < outline.Blocks.size(); ++b) {
        for (std::string_view selector : selectorsOf(int(b))) {
            const std::string chain = ChainOfSelector(selector).Text;
            root[b] = root[b] || chain == "body" || chain == "html" || chain == ":root";
        }
        for (int up = outline.Blocks[b].Parent; root[b] && up >= 0; up = outline.Blocks[size_t(up)].Parent) {
            const TCssBlock& at = outline.Blocks[size_t(up)];
            root[b] = !AsksColorScheme(text.substr(at.PreludeStart, at.PreludeEnd - at.PreludeStart));
        }
    }
    return root;
}

// A text or background colour where a declaration paints it: its own record, or the record of a custom
// property it takes through var() (a Variable, with the alpha of its use).
struct TPlaced {
    std::size_t Record;
    int Block;
    bool Text;
    std::size_t Use;  // where the declaration stands
    std::uint8_t Alpha = 255;
    bool Variable = false;
};

std::vector<TPlaced> PlaceColors(const TElements& file, const TRoles& roles, const TCssOutline& outline,
                                 const TVariableColors& variables, std::size_t from, std::size_t to)
{
    std::vector<TPlaced> placed;
    for (std::size_t k = 0; k < file.Colors.size(); ++k) {
        const TColorRecord& r = file.Colors[k];
        if (r.SourcePos < from || r.SourcePos >= to || r.Embed.Kind != TEmbedding::None || !r.Tickable()) continue;
        const TRoles::TFound* found = roles.At(r.SourcePos);
        if (!found) continue;
        const bool text = found->Role == TColorRole::Foreground;
        if (!text && !roles.IsBackground(*found)) continue;
        const int d = outline.DeclarationAt(r.SourcePos, r.OrgText.size());
        if (d < 0) continue;
        placed.push_back({k, outline.Declarations[size_t(d)].Block, text, r.SourcePos});
    }
    for (std::size_t d = 0; d < outline.Declarations.size(); ++d) {
        const TCssDeclaration& declaration = outline.Declarations[d];
        const std::string_view name = DeclarationName(file.Text, declaration);
        const bool text = EqualsNoCase(name, "COLOR");
        if (!text && !EqualsNoCase(name, "BACKGROUND-COLOR") && !EqualsNoCase(name, "BACKGROUND")) continue;
        for (const TVariableColor& color : variables.Of(d))
            placed.push_back({color.Record, declaration.Block, text, declaration.Start, color.Alpha, true});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const TPlaced& a, const TPlaced& b) { return a.Use < b.Use; });
    return placed;
}

bool PairBefore(const TPairedColors& a, const TPairedColors& b)
{
    return std::tie(a.Foreground, a.Background, a.ForegroundAlpha, a.BackgroundAlpha) <
           std::tie(b.Foreground, b.Background, b.ForegroundAlpha, b.BackgroundAlpha);
}

bool SamePair(const TPairedColors& a, const TPairedColors& b) { return !PairBefore(a, b) && !PairBefore(b, a); }

void PairRegion(const TElements& file, const TRoles& roles, std::size_t from, std::size_t to, TSelectorPairs& out)
{
    std::vector<TPairedColors>& pairs = out.Pairs;
    const TCssOutline outline = OutlineCss(file.Text, from, to, file.WalksAsUtf8());
    const auto selectorsOf = [&](int b) {
        const TCssBlock& block = outline.Blocks[size_t(b)];
        const std::string_view prelude = std::string_view(file.Text).substr(block.PreludeStart, block.PreludeEnd - block.PreludeStart);
        return prelude.starts_with('@') ? std::vector<std::string_view>{} : SplitSelectors(prelude);
    };
    const std::vector<bool> rootBlocks = RootBlocks(outline, selectorsOf, file.Text);
    const TVariableColors variables(file, outline, rootBlocks);
    const std::vector<TPlaced> placed = PlaceColors(file, roles, outline, variables, from, to);
    for (const TCssDeclaration& declaration : outline.Declarations) {
        if (!EqualsNoCase(DeclarationName(file.Text, declaration), "COLOR")) continue;
        const std::string_view value = DeclarationValue(file.Text, declaration);
        if (value.size() < 7 || !EqualsNoCase(value.substr(0, 7), "INHERIT")) continue;
        for (std::string_view selector : selectorsOf(declaration.Block)) {
            const TSelectorChain chain = ChainOfSelector(selector);
            if (chain.Compounds.empty()) continue;
            std::string element;
            for (std::size_t c = chain.Compounds.back();
                 c < chain.Text.size() && LowerAscii(chain.Text[c]) >= 'a' && LowerAscii(chain.Text[c]) <= 'z'; ++c)
                element += LowerAscii(chain.Text[c]);
            if (!element.empty()) out.TextInheritedBy.push_back(element);
        }
    }
    // The backgrounds by what stands before their selector's last compound.
    struct TBackground {
        TSelectorChain Chain;
        std::vector<std::string_view> Last;
        const TPlaced* Placed;
    };
    std::vector<TBackground> all;
    for (const TPlaced& p : placed)
        if (!p.Text)
            for (std::string_view selector : selectorsOf(p.Block)) all.push_back({ChainOfSelector(selector), {}, &p});
    // And by each simple selector of that compound: a text's compound that holds it, or is held by it,
    // shares one with it.
    const auto key = [](std::string_view before, std::string_view simple) {
        std::string k(before);
        k += '\0';
        k += simple;
        return k;
    };
    std::unordered_multimap<std::string, const TBackground*> backgrounds;
    for (TBackground& b : all) {
        if (b.Chain.Compounds.empty()) continue;
        const std::size_t last = b.Chain.Compounds.back();
        b.Last = SimpleSelectors(std::string_view(b.Chain.Text).substr(last));
        for (std::string_view simple : b.Last) backgrounds.emplace(key(std::string_view(b.Chain.Text).substr(0, last), simple), &b);
    }
    const std::size_t first = pairs.size();
    for (const TPlaced& p : placed) {
        if (!p.Text) continue;
        for (std::string_view selector : selectorsOf(p.Block)) {
            const TSelectorChain chain = ChainOfSelector(selector);
            std::vector<std::size_t> lengths = chain.Ancestors;
            lengths.push_back(chain.Text.size());
            for (std::size_t length : lengths) {
                const auto start = std::upper_bound(chain.Compounds.begin(), chain.Compounds.end(), length);
                if (start == chain.Compounds.begin()) continue;
                const std::size_t last = *(start - 1);
                const auto compound = SimpleSelectors(std::string_view(chain.Text).substr(last, length - last));
                for (std::string_view simple : compound) {
                    const auto [begin, end] = backgrounds.equal_range(key(std::string_view(chain.Text).substr(0, last), simple));
                    for (auto it = begin; it != end; ++it) {
                        const TBackground& b = *it->second;
                        const bool one = std::includes(compound.begin(), compound.end(), b.Last.begin(), b.Last.end()) ||
                                         std::includes(b.Last.begin(), b.Last.end(), compound.begin(), compound.end());
                        // Colours written in one block are the walk's own pair; through custom properties, not.
                        const bool unpaired = b.Placed->Block != p.Block || p.Variable || b.Placed->Variable;
                        if (unpaired && one) pairs.push_back({p.Record, b.Placed->Record, p.Alpha, b.Placed->Alpha, b.Placed->Variable});
                    }
                }
            }
        }
    }
    std::sort(pairs.begin() + std::ptrdiff_t(first), pairs.end(), PairBefore);
    pairs.erase(std::unique(pairs.begin() + std::ptrdiff_t(first), pairs.end(), SamePair), pairs.end());

    // A text a custom property gives with an alpha of its use, on nothing the selectors show, stands on the
    // page's background.
    std::vector<std::pair<std::size_t, std::uint8_t>> texts;
    for (auto it = pairs.begin() + std::ptrdiff_t(first); it != pairs.end(); ++it) texts.emplace_back(it->Foreground, it->ForegroundAlpha);
    std::sort(texts.begin(), texts.end());
    for (const TPlaced& p : placed)
        if (p.Text && p.Variable && p.Alpha < 255 && !std::binary_search(texts.begin(), texts.end(), std::make_pair(p.Record, p.Alpha))) {
            texts.insert(std::upper_bound(texts.begin(), texts.end(), std::make_pair(p.Record, p.Alpha)), {p.Record, p.Alpha});
            out.OnPage.push_back({p.Record, p.Alpha});
        }

    // The page's text: the last colour of body, html or :root (those a custom property gives there). A
    // background that no text stands on by its rule or the selectors stands, most likely, under it.
    const auto lastRootText = std::find_if(placed.rbegin(), placed.rend(), [&](const TPlaced& p) { return p.Text && rootBlocks[size_t(p.Block)]; });
    if (lastRootText == placed.rend()) return;
    std::vector<const TPlaced*> pageTexts;
    for (const TPlaced& p : placed)
        if (p.Text && p.Use == lastRootText->Use) {
            pageTexts.push_back(&p);
            out.PageText.push_back({p.Record, p.Alpha});
        }
    std::vector<bool> hasText(outline.Blocks.size());
    for (const TPlaced& p : placed)
        if (p.Text) hasText[size_t(p.Block)] = true;
    std::vector<std::size_t> paired;
    for (auto it = pairs.begin() + std::ptrdiff_t(first); it != pairs.end(); ++it) paired.push_back(it->Background);
    std::sort(paired.begin(), paired.end());
    for (const TPlaced& p : placed)
        if (!p.Text && !hasText[size_t(p.Block)] && !std::binary_search(paired.begin(), paired.end(), p.Record))
            for (const TPlaced* text : pageTexts)
                out.UnderPageText.push_back({text->Record, p.Record, text->Alpha, p.Alpha, p.Variable});
}

} // namespace

TSelectorChain ChainOfSelector(std::string_view selector)
{
    TSelectorChain chain;
    char combinator = 0;  // pending between compounds: ' ', '>', '+', '~'
    bool fresh = true;    // a compound starts at the next step
    TSelectorScanner scanner(selector);
    while (const auto step = scanner.Next()) {
        const char c = selector[step->Pos];
        if (step->Plain && (IsCssSpace(c) || c == '>' || c == '+' || c == '~')) {
            if (!chain.Text.empty() && (combinator == 0 || combinator == ' ')) combinator = IsCssSpace(c) ? ' ' : c;
            continue;
        }
        if (combinator) {
            if (combinator == ' ' || combinator == '>') chain.Ancestors.push_back(chain.Text.size());
            chain.Text += combinator == ' ' ? std::string(" ") : std::string(" ") + combinator + ' ';
            combinator = 0;
            fresh = true;
        }
        if (fresh) chain.Compounds.push_back(chain.Text.size());
        fresh = false;
        chain.Text += selector.substr(step->Pos, step->Length);
    }
    return chain;
}

std::vector<std::string_view> SimpleSelectors(std::string_view compound)
{
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    bool afterColon = false;  // "::" starts one pseudo-element
    TSelectorScanner scanner(compound);
    while (const auto step = scanner.Next()) {
        const char c = compound[step->Pos];
        const bool starts = step->Plain && (c == '.' || c == '#' || c == '[' || (c == ':' && !afterColon));
        if (starts && step->Pos > from) {
            parts.push_back(compound.substr(from, step->Pos - from));
            from = step->Pos;
        }
        afterColon = step->Plain && c == ':';
    }
    if (from < compound.size()) parts.push_back(compound.substr(from));
    std::sort(parts.begin(), parts.end());
    return parts;
}

TSelectorPairs PairColorsBySelectors(const TElements& file, bool isPage)
{
    TRoles roles;
    WalkFile(file, isPage, roles);
    std::sort(roles.Found.begin(), roles.Found.end(),
              [](const TRoles::TFound& a, const TRoles::TFound& b) { return a.Pos < b.Pos; });
    TSelectorPairs out;
    if (!isPage) {
        if (!file.IsSvg) PairRegion(file, roles, 0, file.Text.size(), out);
        return out;
    }
    for (const auto& [from, to] : roles.StyleBlocks) PairRegion(file, roles, from, to, out);
    return out;
}

} // namespace pictor
