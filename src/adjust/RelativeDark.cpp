#include "adjust/RelativeDark.h"

#include "adjust/DarkColors.h"
#include "document/ChannelLists.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"
#include "document/VariableColors.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <unordered_map>

namespace pictor {

namespace {

// names and every custom property that is one of them.
void AddAliases(TVariableNames& names, const std::unordered_multimap<std::string_view, std::string_view>& aliases)
{
    std::vector<std::string_view> next(names.begin(), names.end());
    while (!next.empty()) {
        const std::string_view name = next.back();
        next.pop_back();
        const auto [from, to] = aliases.equal_range(name);
        for (auto alias = from; alias != to; ++alias)
            if (names.insert(alias->second).second) next.push_back(alias->second);
    }
}

} // namespace

TTickedChannels TickedChannelVariables(const IFileSet& files, const std::vector<std::vector<TStyleText>>& styles)
{
    TTickedChannels ticked;
    std::unordered_multimap<std::string_view, std::string_view> aliases; // what is one -> the one that is it
    for (int f = 0; f < files.FileCount(); ++f) {
        const TElements& file = files.Elements(f);
        const std::string_view text = file.Text;
        for (const TStyleText& style : styles[size_t(f)]) {
            for (const TCssDeclaration& declaration : style.Outline.Declarations) {
                const std::string_view name = DeclarationName(text, declaration);
                if (!name.starts_with("--")) continue;
                if (const std::string_view target = AliasedVariable(DeclarationValue(text, declaration));
                    !target.empty())
                    aliases.emplace(target, name);
            }
            for (const TColorRecord& r : file.Colors) {
                if (!r.Checked || r.Channels.Reading == TChannelReading::None || r.Channels.Channel < 0 ||
                    r.Channels.Delta || r.Embed.Kind != TEmbedding::None || r.SourcePos < style.From ||
                    r.SourcePos >= style.To)
                    continue;
                const int d = style.Outline.DeclarationAt(r.SourcePos, r.OrgText.size());
                if (d < 0) continue;
                const std::string_view name = DeclarationName(text, style.Outline.Declarations[size_t(d)]);
                ticked.Any.insert(name);
                if (IsHslLightness(r)) ticked.Lightness.insert(name);
            }
        }
    }
    AddAliases(ticked.Any, aliases);
    AddAliases(ticked.Lightness, aliases);
    return ticked;
}

std::string NudgedName(std::string_view lightnessVariable)
{
    return std::string(lightnessVariable) + "-pictor-dark";
}

std::optional<double> NudgedLightness(const TColorRecord& light, std::string_view darkText, const TAdjustment& dark,
                                      bool lowerCase)
{
    if (!IsHslLightness(light)) return std::nullopt;
    TColorRecord mirrored = light;
    AdjustColorValue(dark, mirrored, lowerCase);
    const auto value = ChannelNumber(darkText);
    if (mirrored.Text == darkText || !value) return std::nullopt;
    const auto [hue, saturation, shown] = PaintedHsl(light, light.Color);
    return SrgbToSpace(TColorSpace::Oklch, HslToSrgb(hue, saturation / 100, *value / 100))[0];
}

TReplacements RelativeDarkCalls(std::string_view text, const TStyleText& style, bool utf8,
                                const TTickedChannels& ticked, const TDarkEnds& ends, std::deque<std::string>& texts)
{
    // ends.Dark + (ends.Light - ends.Dark) * (1 - l), with no negative number written.
    const int span = ends.Light - ends.Dark;
    const std::string mirrored = "calc(" + Decimal(ends.Light / 100.0, 2) + (span < 0 ? " + " : " - ") +
                                 Decimal(std::abs(span) / 100.0, 2) + " * l)";
    TReplacements calls;
    for (const TCssCall& call : CssCalls(text, style.Outline, utf8, {"hsl(", "hsla(", "rgb(", "rgba("})) {
        const auto channels = SingleChannelVariables(text.substr(call.Args, call.End - call.Args));
        if (!channels || std::none_of(std::begin(channels->Names), std::end(channels->Names),
                                      [&](std::string_view name) { return ticked.Any.contains(name); }))
            continue;
        // A lightness with something added to it is no variable's own.
        const std::string_view lightness = channels->Names[2];
        const bool hsl = std::tolower((unsigned char)text[call.Start]) == 'h';
        const bool carried =
            hsl && ticked.Lightness.contains(lightness) && channels->Deltas[2].empty() && channels->Literals[2].empty();
        const std::string_view origin = text.substr(call.Start, call.End - call.Start);
        calls.push_back(
            {call.Start, origin.size(),
             texts.emplace_back("oklch(from " + std::string(origin) + " " +
                                (carried ? "var(" + NudgedName(lightness) + ", " + mirrored + ")" : mirrored) +
                                " c h / alpha)")});
    }
    return calls;
}

} // namespace pictor
