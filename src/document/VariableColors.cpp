#include "document/VariableColors.h"

#include "base/AsciiText.h"
#include "document/ChannelLists.h"
#include "document/ColorLiterals.h"

#include <algorithm>

namespace pictor {

namespace {

// How deep custom properties built of others are followed.
constexpr int MaxDepth = 8;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c)
{
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsCssSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsCssSpace(s.back())) s.remove_suffix(1);
    return s;
}

// A record that decides the lightness of the colour it stands in: a whole colour or channel list, an
// hsl() lightness; not a hue, a saturation or a number added to a channel.
bool DecidesLightness(const TColorRecord& record)
{
    const TChannelRole role = record.Channels;
    return role.Channel < 0 || (role.Reading == TChannelReading::Hsl && role.Channel == 2 && !role.Delta);
}

// The alpha the colour function around the var() at pos gives the list it names: rgba(var(--x), .65).
std::uint8_t UseAlpha(std::string_view value, std::size_t pos, std::string_view name)
{
    std::size_t open = pos;
    while (open > 0 && IsCssSpace(value[open - 1])) --open;
    if (open == 0 || value[--open] != '(') return 255;
    std::size_t function = open;
    while (function > 0 && IsLetter(value[function - 1])) --function;
    if (ChannelReadingOf(value.substr(function, open - function)) == TChannelReading::None) return 255;
    const TChannelListUse use = ChannelListVariable(value.substr(open + 1));
    return use.Name == name ? std::uint8_t(AlphaToByte(TAlphaForm::Function, use.Alpha)) : 255;
}

} // namespace

std::string_view DeclarationName(std::string_view text, const TCssDeclaration& d)
{
    const std::size_t colon = text.substr(0, d.End).find(':', d.Start);
    return colon == std::string_view::npos ? std::string_view{} : Trimmed(text.substr(d.Start, colon - d.Start));
}

std::string_view DeclarationValue(std::string_view text, const TCssDeclaration& d)
{
    const std::size_t colon = text.substr(0, d.End).find(':', d.Start);
    return colon == std::string_view::npos ? std::string_view{} : Trimmed(text.substr(colon + 1, d.End - colon - 1));
}

TVariableColors::TVariableColors(const TElements& file, const TCssOutline& outline, std::vector<bool> rootBlocks)
    : File_(file), Outline_(outline), RootBlocks_(std::move(rootBlocks))
{
    if (outline.Declarations.empty()) return;
    for (std::size_t d = 0; d < outline.Declarations.size(); ++d) {
        const std::string_view name = DeclarationName(file.Text, outline.Declarations[d]);
        if (name.starts_with("--")) Definitions_.emplace(name, d);
    }
    const std::size_t from = outline.Declarations.front().Start, to = outline.Declarations.back().End;
    for (std::size_t k = 0; k < file.Colors.size(); ++k) {
        const TColorRecord& r = file.Colors[k];
        if (r.SourcePos >= from && r.SourcePos < to && r.Embed.Kind == TEmbedding::None && r.Tickable() && DecidesLightness(r))
            Records_.emplace_back(r.SourcePos, k);
    }
    std::sort(Records_.begin(), Records_.end());
}

std::vector<TVariableColor> TVariableColors::Of(std::size_t d) const
{
    std::vector<TVariableColor> out;
    Collect(DeclarationValue(File_.Text, Outline_.Declarations[d]), Outline_.Declarations[d].Block, 255, 0, out);
    return out;
}

void TVariableColors::Collect(std::string_view value, int block, std::uint8_t alpha, int depth, std::vector<TVariableColor>& out) const
{
    for (std::size_t i = 0; i + 4 < value.size(); ++i) {
        if (!MatchesNoCase(value, i, "VAR(")) continue;
        std::size_t name = i + 4;
        while (name < value.size() && IsCssSpace(value[name])) ++name;
        if (value.substr(name, 2) != "--") continue;
        std::size_t end = name + 2;
        while (end < value.size() && IsNameChar(value[end])) ++end;
        const std::string_view variable = value.substr(name, end - name);
        Resolve(variable, block, std::min(alpha, UseAlpha(value, i, variable)), depth, out);
    }
}

void TVariableColors::Resolve(std::string_view name, int block, std::uint8_t alpha, int depth, std::vector<TVariableColor>& out) const
{
    const auto [first, last] = Definitions_.equal_range(name);
    const bool own = std::any_of(first, last, [&](const auto& def) { return Outline_.Declarations[def.second].Block == block; });
    for (auto def = first; def != last; ++def) {
        const TCssDeclaration& d = Outline_.Declarations[def->second];
        if (own ? d.Block != block : !RootBlocks_[std::size_t(d.Block)]) continue;
        auto record = std::lower_bound(Records_.begin(), Records_.end(), std::make_pair(d.Start, std::size_t(0)));
        const bool holds = record != Records_.end() && record->first < d.End;
        for (; record != Records_.end() && record->first < d.End; ++record) out.push_back({record->second, alpha});
        if (!holds && depth < MaxDepth) Collect(DeclarationValue(File_.Text, d), block, alpha, depth + 1, out);
    }
}

} // namespace pictor
