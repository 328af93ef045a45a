#include "document/SelectorPairs.h"

#include "base/AsciiText.h"
#include "document/CssOutline.h"
#include "document/DocumentText.h"

#include <algorithm>
#include <unordered_map>

namespace pictor {

namespace {

// The selectors of a rule's prelude, split at the commas outside parentheses, brackets and strings.
std::vector<std::string_view> SplitSelectors(std::string_view prelude)
{
    std::vector<std::string_view> out;
    int depth = 0;
    char quote = 0;
    std::size_t from = 0;
    for (std::size_t i = 0; i < prelude.size(); ++i) {
        const char c = prelude[i];
        if (quote) {
            if (c == '\\') ++i;
            else if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (c == ',' && depth == 0) {
            out.push_back(prelude.substr(from, i - from));
            from = i + 1;
        }
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

void PairRegion(const TElements& file, const TRoles& roles, std::size_t from, std::size_t to, TSelectorPairs& out)
{
    std::vector<TPairedColors>& pairs = out.Pairs;
    const TCssOutline outline = OutlineCss(file.Text, from, to, file.WalksAsUtf8());
    struct TPlaced {
        std::size_t Record;
        int Block;
        bool Text;
    };
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
        placed.push_back({k, outline.Declarations[size_t(d)].Block, text});
    }
    const auto selectorsOf = [&](int b) {
        const TCssBlock& block = outline.Blocks[size_t(b)];
        const std::string_view prelude = std::string_view(file.Text).substr(block.PreludeStart, block.PreludeEnd - block.PreludeStart);
        return prelude.starts_with('@') ? std::vector<std::string_view>{} : SplitSelectors(prelude);
    };
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
    std::unordered_multimap<std::string_view, const TBackground*> backgrounds;
    for (TBackground& b : all) {
        if (b.Chain.Compounds.empty()) continue;
        const std::size_t last = b.Chain.Compounds.back();
        b.Last = SimpleSelectors(std::string_view(b.Chain.Text).substr(last));
        backgrounds.emplace(std::string_view(b.Chain.Text).substr(0, last), &b);
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
                const auto [begin, end] = backgrounds.equal_range(std::string_view(chain.Text).substr(0, last));
                for (auto it = begin; it != end; ++it) {
                    const TBackground& b = *it->second;
                    const bool one = std::includes(compound.begin(), compound.end(), b.Last.begin(), b.Last.end()) ||
                                     std::includes(b.Last.begin(), b.Last.end(), compound.begin(), compound.end());
                    if (b.Placed->Block != p.Block && !b.Last.empty() && one)
                        pairs.push_back({p.Record, b.Placed->Record});
                }
            }
        }
    }
    std::sort(pairs.begin() + std::ptrdiff_t(first), pairs.end(), [](const TPairedColors& a, const TPairedColors& b) {
        return a.Foreground != b.Foreground ? a.Foreground < b.Foreground : a.Background < b.Background;
    });
    pairs.erase(std::unique(pairs.begin() + std::ptrdiff_t(first), pairs.end(),
                            [](const TPairedColors& a, const TPairedColors& b) {
                                return a.Foreground == b.Foreground && a.Background == b.Background;
                            }),
                pairs.end());

    // The page's text: the last colour of body, html or :root. A background that no text stands on by
    // its rule or the selectors stands, most likely, under it.
    const TPlaced* pageText = nullptr;
    for (const TPlaced& p : placed)
        for (std::string_view selector : selectorsOf(p.Block)) {
            const std::string chain = ChainOfSelector(selector).Text;
            if (p.Text && (chain == "body" || chain == "html" || chain == ":root")) pageText = &p;
        }
    if (!pageText) return;
    std::vector<bool> hasText(outline.Blocks.size());
    for (const TPlaced& p : placed)
        if (p.Text) hasText[size_t(p.Block)] = true;
    std::vector<std::size_t> paired;
    for (auto it = pairs.begin() + std::ptrdiff_t(first); it != pairs.end(); ++it) paired.push_back(it->Background);
    std::sort(paired.begin(), paired.end());
    for (const TPlaced& p : placed)
        if (!p.Text && !hasText[size_t(p.Block)] && !std::binary_search(paired.begin(), paired.end(), p.Record))
            out.UnderPageText.push_back({pageText->Record, p.Record});
}

} // namespace

TSelectorChain ChainOfSelector(std::string_view selector)
{
    TSelectorChain chain;
    int depth = 0;
    char quote = 0;
    char combinator = 0;  // pending between compounds: ' ', '>', '+', '~'
    bool fresh = true;    // a compound starts at the next character
    for (std::size_t i = 0; i < selector.size(); ++i) {
        const char c = selector[i];
        const bool inside = quote || depth > 0;
        if (!inside && (IsCssSpace(c) || c == '>' || c == '+' || c == '~')) {
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
        chain.Text += c;
        if (c == '\\' && i + 1 < selector.size()) chain.Text += selector[++i];
        else if (quote) quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'') quote = c;
        else if (c == '(' || c == '[') ++depth;
        else if ((c == ')' || c == ']') && depth > 0) --depth;
    }
    return chain;
}

std::vector<std::string_view> SimpleSelectors(std::string_view compound)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    char quote = 0;
    std::size_t from = 0;
    for (std::size_t i = 0; i < compound.size(); ++i) {
        const char c = compound[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        if (depth == 0 && i > from && (c == '.' || c == '#' || c == '[' || (c == ':' && compound[i - 1] != ':'))) {
            parts.push_back(compound.substr(from, i - from));
            from = i;
        }
        if (c == '(' || c == '[') ++depth;
        else if ((c == ')' || c == ']') && depth > 0) --depth;
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
