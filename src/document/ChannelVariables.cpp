#include "document/ChannelVariables.h"

#include "document/CssColorFunction.h"
#include "document/DocumentText.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <optional>
#include <unordered_map>

namespace pictor {

namespace {

// The one role every use of a name gives it (through the custom properties that are it), with the first
// use, whose other channels show the colour of a one-channel variable. Names and values are views into
// the files' texts.
struct TUsedAs {
    TChannelRole Role;
    const TChannelUse* Use = nullptr;
    std::string_view Text;  // of the use's file
    bool Conflict = false;
};

class TChannelGraph {
public:
    explicit TChannelGraph(const IFileSet& files)
    {
        for (int f = 0; f < files.FileCount(); ++f) {
            const TElements& file = files.Elements(f);
            const std::string_view text = file.Text;
            for (const TChannelUse& use : file.Channels.Uses) {
                if (use.Whole) {
                    Assign(use.Names[0].In(text), {{use.Reading, -1, false}, &use, text, false});
                    continue;
                }
                for (std::int8_t k = 0; k < 3; ++k) {
                    const TChannelRole channel{use.Reading, k, false}, delta{use.Reading, k, true};
                    if (!use.Names[k].Empty()) Assign(use.Names[k].In(text), {channel, &use, text, false});
                    if (!use.Deltas[k].Empty() && MirroredByInvert(delta))
                        Assign(use.Deltas[k].In(text), {delta, &use, text, false});
                }
            }
            for (const TVariableAlias& alias : file.Channels.Aliases)
                Targets_.emplace(alias.Name.In(text), alias.Target.In(text));
            for (const TChannelList& list : file.Channels.Lists) Values_.emplace(list.Name.In(text), list.Value.In(text));
        }
        // A role flows from a custom property to the one it is.
        while (!Changed_.empty()) {
            const std::string_view name = Changed_.front();
            Changed_.pop_front();
            const TUsedAs usedAs = Roles_.at(name);
            const auto [from, to] = Targets_.equal_range(name);
            for (auto target = from; target != to; ++target) Assign(target->second, usedAs);
        }
    }

    const TUsedAs* RoleOf(std::string_view name) const
    {
        const auto found = Roles_.find(name);
        return found == Roles_.end() || found->second.Conflict ? nullptr : &found->second;
    }

    // The first value written for name or a custom property it is; empty when none is.
    std::string_view ValueOf(std::string_view name, int depth = 0) const
    {
        if (const auto value = Values_.find(name); value != Values_.end()) return value->second;
        if (depth > 16) return {};
        const auto [from, to] = Targets_.equal_range(name);
        for (auto target = from; target != to; ++target)
            if (const std::string_view value = ValueOf(target->second, depth + 1); !value.empty()) return value;
        return {};
    }

private:
    void Assign(std::string_view name, const TUsedAs& usedAs)
    {
        const auto [at, added] = Roles_.emplace(name, usedAs);
        if (!added) {
            if (at->second.Conflict || (!usedAs.Conflict && at->second.Role == usedAs.Role)) return;
            at->second.Conflict = true;
        }
        Changed_.push_back(name);
    }

    std::unordered_map<std::string_view, TUsedAs> Roles_;
    std::unordered_multimap<std::string_view, std::string_view> Targets_;
    std::unordered_map<std::string_view, std::string_view> Values_;
    std::deque<std::string_view> Changed_;
};

// The colour a one-channel variable's value paints with the other channels of its first use; for an hsl()
// lightness, that use's hue and saturation too.
struct TOneChannelColor {
    TColor Color;
    std::optional<std::array<double, 2>> HueSaturation;
};
std::optional<TOneChannelColor> OneChannelColor(const TChannelGraph& graph, std::string_view value,
                                                const TUsedAs& usedAs)
{
    const TChannelUse& use = *usedAs.Use;
    const bool hsl = usedAs.Role.Reading == TChannelReading::Hsl;
    std::string text = hsl ? "hsl(" : "rgb(";
    std::array<std::string_view, 3> channels;
    for (std::int8_t k = 0; k < 3; ++k) {
        std::string_view& channel = channels[size_t(k)];
        if (k == usedAs.Role.Channel && !usedAs.Role.Delta) channel = value;
        else if (!use.Names[size_t(k)].Empty()) channel = graph.ValueOf(use.Names[size_t(k)].In(usedAs.Text));
        if (!IsSingleChannel(channel)) channel = hsl ? (k == 0 ? "0" : "50%") : "0";
        text += channel;
        text += k < 2 ? ' ' : ')';
    }
    const auto css = ParseCssColorFunction(text);
    if (!css) return std::nullopt;
    TOneChannelColor out{css->Color, std::nullopt};
    const auto hue = HueDegrees(channels[0]);
    const auto saturation = ChannelNumber(channels[1]);
    if (hsl && usedAs.Role.Channel == 2 && hue && saturation)
        out.HueSaturation = std::array{std::fmod(std::fmod(*hue, 360) + 360, 360), std::clamp(*saturation, 0.0, 100.0)};
    return out;
}

// Where a record stands in its file's text: a colour in a data: URL's picture stands at the URL.
std::size_t PlaceInFile(const TColorRecord& record)
{
    return record.Embed.Kind == TEmbedding::None ? record.SourcePos : record.Embed.Pos;
}

// Merges added (in document order) into the file's records by place, keeping the pairs on theirs: from
// the back, in the room the records were given when they were made.
void MergeRecords(TElements& file, std::vector<TColorRecord>& added)
{
    auto& colors = file.Colors;
    const std::size_t old = colors.size();
    colors.resize(old + added.size());
    std::vector<std::size_t> newIndex(old);
    std::size_t k = old, a = added.size(), to = colors.size();
    while (a > 0) {
        if (k > 0 && PlaceInFile(colors[k - 1]) > added[a - 1].SourcePos) {
            newIndex[--k] = --to;
            colors[to] = std::move(colors[k]);
        } else {
            colors[--to] = std::move(added[--a]);
        }
    }
    for (std::size_t i = 0; i < k; ++i) newIndex[i] = i;
    for (TPairedColors& pair : file.Pairs) {
        pair.Foreground = newIndex[pair.Foreground];
        pair.Background = newIndex[pair.Background];
    }
}

TColorRecord ChannelRecord(TTextSpan value, std::string_view text, const TOneChannelColor& color, TChannelRole role)
{
    TColorRecord record;
    record.OrgText = record.Text = std::string(value.In(text));
    record.Color = record.OrgColor = color.Color;
    record.SourcePos = value.Pos;
    record.Channels = role;
    record.UseHueSaturation = color.HueSaturation;
    return record;
}

} // namespace

std::size_t ChannelColorsAtMost(const TChannelVariables& found)
{
    std::size_t literals = 0;
    for (const TChannelUse& use : found.Uses)
        for (const TTextSpan& literal : use.Literals) literals += literal.Empty() ? 0 : 1;
    return found.Lists.size() + literals;
}

void AddChannelColors(IFileSet& files)
{
    const TChannelGraph graph(files);
    for (int f = 0; f < files.FileCount(); ++f) {
        TElements& file = files.Elements(f);
        std::vector<TColorRecord> added;
        for (const TChannelList& list : file.Channels.Lists) {
            const TUsedAs* usedAs = graph.RoleOf(list.Name.In(file.Text));
            if (!usedAs) continue;
            const std::string_view value = list.Value.In(file.Text);
            const bool whole = usedAs->Role.Channel < 0;
            if (whole != bool(ChannelSpans(value))) continue;
            std::optional<TOneChannelColor> color;
            if (!whole)
                color = OneChannelColor(graph, value, *usedAs);
            else if (const auto listed = ChannelListColor(value, usedAs->Role.Reading))
                color = TOneChannelColor{*listed, std::nullopt};
            if (color) added.push_back(ChannelRecord(list.Value, file.Text, *color, usedAs->Role));
        }
        // Numbers added to a channel in calc() change as a delta variable would.
        for (const TChannelUse& use : file.Channels.Uses)
            for (std::int8_t k = 0; k < 3; ++k) {
                const TUsedAs usedAs{{use.Reading, k, true}, &use, file.Text, false};
                if (use.Literals[size_t(k)].Empty() || !MirroredByInvert(usedAs.Role)) continue;
                if (const auto color = OneChannelColor(graph, {}, usedAs))
                    added.push_back(ChannelRecord(use.Literals[size_t(k)], file.Text, *color, usedAs.Role));
            }
        if (added.empty()) continue;
        std::stable_sort(added.begin(), added.end(),
                         [](const TColorRecord& a, const TColorRecord& b) { return a.SourcePos < b.SourcePos; });
        MergeRecords(file, added);
        RewriteText(file);
    }
    for (int f = 0; f < files.FileCount(); ++f) files.Elements(f).Channels = {};
}

} // namespace pictor
