#include "adjust/SchemeBlock.h"

#include "document/VariableColors.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace pictor {

void AppendReplaced(std::string& out, std::string_view text, std::size_t from, std::size_t to, const TReplacements& all)
{
    auto r =
        std::lower_bound(all.begin(), all.end(), from, [](const TReplacement& a, std::size_t p) { return a.Pos < p; });
    for (; r != all.end() && r->Pos + r->Length <= to; ++r) {
        out.append(text, from, r->Pos - from);
        out += r->Text;
        from = r->Pos + r->Length;
    }
    out.append(text, from, to - from);
}

std::string PropertyName(std::string_view text, const TCssDeclaration& declaration)
{
    std::string name(DeclarationName(text, declaration));
    for (char& c : name) c = char(std::tolower((unsigned char)c));
    return name;
}

namespace {

bool IsKeyframes(std::string_view prelude)
{
    std::string lower(prelude.substr(0, 32));
    for (char& c : lower) c = char(std::tolower((unsigned char)c));
    if (!lower.starts_with('@')) return false;
    std::size_t name = 1;
    if (lower.size() > 1 && lower[1] == '-') { // @-webkit-keyframes
        name = lower.find('-', 2);
        if (name == std::string::npos) return false;
        ++name;
    }
    return lower.compare(name, 9, "keyframes") == 0;
}

} // namespace

TSchemeBlock::TSchemeBlock(std::string_view text, const TCssOutline& outline, const TReplacements& replacements)
    : Text_(text), Outline_(outline), Replacements_(replacements), Held_(outline.Declarations.size()),
      Needed_(outline.Blocks.size()), Whole_(outline.Blocks.size())
{}

bool TSchemeBlock::Hold(std::size_t pos, std::size_t length)
{
    const int d = Outline_.DeclarationAt(pos, length);
    if (d < 0) return false;
    HoldDeclaration(d);
    return true;
}

void TSchemeBlock::HoldFamilies()
{
    std::vector<std::string> families;
    for (std::size_t d = 0; d < Held_.size(); ++d)
        if (Held_[d]) families.push_back(Family(int(d)));
    std::erase(families, std::string());
    std::sort(families.begin(), families.end());
    for (std::size_t d = 0; d < Held_.size(); ++d)
        if (!Held_[d] && std::binary_search(families.begin(), families.end(), Family(int(d)))) HoldDeclaration(int(d));
}

int TSchemeBlock::Declarations() const
{
    return int(std::count(Held_.begin(), Held_.end(), true));
}

std::string TSchemeBlock::Rules() const
{
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
    std::string out;
    for (size_t b = 0; b < Outline_.Blocks.size(); ++b)
        if (Needed_[b] && Outline_.Blocks[b].Parent < 0) Emit(int(b), items, out);
    return out;
}

void TSchemeBlock::HoldDeclaration(int d)
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
std::string TSchemeBlock::Family(int d) const
{
    const std::string name = PropertyName(Text_, Outline_.Declarations[size_t(d)]);
    if (name.starts_with("--")) return name;
    static constexpr std::string_view Shorthands[] = {"background",
                                                      "background-image",
                                                      "border",
                                                      "border-top",
                                                      "border-right",
                                                      "border-bottom",
                                                      "border-left",
                                                      "border-block",
                                                      "border-block-start",
                                                      "border-block-end",
                                                      "border-inline",
                                                      "border-inline-start",
                                                      "border-inline-end",
                                                      "outline",
                                                      "column-rule",
                                                      "text-decoration",
                                                      "box-shadow",
                                                      "text-shadow",
                                                      "fill",
                                                      "stroke",
                                                      "text-emphasis",
                                                      "-webkit-text-stroke"};
    const bool setsColour = name.ends_with("color") ||
                            std::find(std::begin(Shorthands), std::end(Shorthands), name) != std::end(Shorthands);
    if (!setsColour) return {};
    return name.starts_with('-') ? name : name.substr(0, name.find('-'));
}

std::string_view TSchemeBlock::Prelude(int b) const
{
    const TCssBlock& block = Outline_.Blocks[size_t(b)];
    return Text_.substr(block.PreludeStart, block.PreludeEnd - block.PreludeStart);
}

void TSchemeBlock::Emit(int b, const TItems& items, std::string& out) const
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
            if (const auto following = Following_.find(item); following != Following_.end())
                out += ' ' + following->second + ';';
        } else {
            out += '\n';
            Emit(-1 - item, items, out);
            nested = true;
        }
    }
    out += nested ? "}\n" : " }\n";
}

} // namespace pictor
