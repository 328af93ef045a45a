#include "document/ChannelVariables.h"

#include "document/CssColorFunction.h"
#include "document/DocumentText.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

namespace pictor {

namespace {

// The one role every use of a name gives it (through the custom properties that are it), with the first
// use, whose other channels show the colour of a one-channel variable.
struct TUsedAs {
    TChannelRole Role;
    const TChannelUse* Use = nullptr;
    bool Conflict = false;
};
using TRoles = std::unordered_map<std::string, TUsedAs>;

class TChannelGraph {
public:
    explicit TChannelGraph(const IFileSet& files)
    {
        for (int f = 0; f < files.FileCount(); ++f) {
            const TElements& file = files.Elements(f);
            for (const TChannelUse& use : file.Channels.Uses) {
                if (use.Whole) {
                    Assign(use.Names[0], {{use.Reading, -1, false}, &use, false});
                    continue;
                }
                for (std::int8_t k = 0; k < 3; ++k) {
                    if (!use.Names[k].empty()) Assign(use.Names[k], {{use.Reading, k, false}, &use, false});
                    const TChannelRole delta{use.Reading, k, true};
                    if (!use.Deltas[k].empty() && MirroredByInvert(delta)) Assign(use.Deltas[k], {delta, &use, false});
                }
            }
            for (const TVariableAlias& alias : file.Channels.Aliases) Targets_.emplace(alias.Name, alias.Target);
            for (const TChannelList& list : file.Channels.Lists)
                Values_.emplace(list.Name, std::string(std::string_view(file.Text).substr(list.Pos, list.Length)));
        }
        // A role flows from a custom property to the one it is.
        while (!Changed_.empty()) {
            const std::string name = std::move(Changed_.front());
            Changed_.pop_front();
            const TUsedAs usedAs = Roles_.at(name);
            const auto [from, to] = Targets_.equal_range(name);
            for (auto target = from; target != to; ++target) Assign(target->second, usedAs);
        }
    }

    const TUsedAs* RoleOf(const std::string& name) const
    {
        const auto found = Roles_.find(name);
        return found == Roles_.end() || found->second.Conflict ? nullptr : &found->second;
    }

    // The first value written for name or a custom property it is; empty when none is.
    std::string_view ValueOf(const std::string& name, int depth = 0) const
    {
        if (const auto value = Values_.find(name); value != Values_.end()) return value->second;
        if (depth > 16) return {};
        const auto [from, to] = Targets_.equal_range(name);
        for (auto target = from; target != to; ++target)
            if (const std::string_view value = ValueOf(target->second, depth + 1); !value.empty()) return value;
        return {};
    }

private:
    void Assign(const std::string& name, const TUsedAs& usedAs)
    {
        const auto [at, added] = Roles_.emplace(name, usedAs);
        if (!added) {
            if (at->second.Conflict || (!usedAs.Conflict && at->second.Role == usedAs.Role)) return;
            at->second.Conflict = true;
        }
        Changed_.push_back(name);
    }

    TRoles Roles_;
    std::unordered_multimap<std::string, std::string> Targets_;
    std::unordered_map<std::string, std::string> Values_;
    std::deque<std::string> Changed_;
};

// The colour a one-channel variable's value paints with the other channels of its first use.
std::optional<TColor> OneChannelColor(const TChannelGraph& graph, std::string_view value, const TUsedAs& usedAs)
{
    const TChannelUse& use = *usedAs.Use;
    const bool hsl = usedAs.Role.Reading == TChannelReading::Hsl;
    std::string text = hsl ? "hsl(" : "rgb(";
    for (std::int8_t k = 0; k < 3; ++k) {
        std::string_view channel;
        if (k == usedAs.Role.Channel && !usedAs.Role.Delta) channel = value;
        else if (!use.Names[size_t(k)].empty()) channel = graph.ValueOf(use.Names[size_t(k)]);
        if (!IsSingleChannel(channel)) channel = hsl ? (k == 0 ? "0" : "50%") : "0";
        text += channel;
        text += k < 2 ? ' ' : ')';
    }
    const auto css = ParseCssColorFunction(text);
    if (!css) return std::nullopt;
    return css->Color;
}

// Merges added (in document order) into the file's records by place, keeping the pairs on theirs.
void MergeRecords(TElements& file, std::vector<TColorRecord>& added)
{
    auto& colors = file.Colors;
    std::vector<std::size_t> newIndex(colors.size());
    std::vector<TColorRecord, THugePageAllocator<TColorRecord>> merged;
    merged.reserve(colors.size() + added.size());
    std::size_t a = 0;
    for (std::size_t k = 0; k < colors.size(); ++k) {
        while (a < added.size() && added[a].SourcePos < colors[k].SourcePos) merged.push_back(std::move(added[a++]));
        newIndex[k] = merged.size();
        merged.push_back(std::move(colors[k]));
    }
    while (a < added.size()) merged.push_back(std::move(added[a++]));
    colors = std::move(merged);
    for (TPairedColors& pair : file.Pairs) {
        pair.Foreground = newIndex[pair.Foreground];
        pair.Background = newIndex[pair.Background];
    }
}

} // namespace

void AddChannelColors(IFileSet& files)
{
    const TChannelGraph graph(files);
    for (int f = 0; f < files.FileCount(); ++f) {
        TElements& file = files.Elements(f);
        std::vector<TColorRecord> added;
        for (const TChannelList& list : file.Channels.Lists) {
            const TUsedAs* usedAs = graph.RoleOf(list.Name);
            if (!usedAs) continue;
            const std::string_view value = std::string_view(file.Text).substr(list.Pos, list.Length);
            const bool whole = usedAs->Role.Channel < 0;
            if (whole != bool(ChannelSpans(value))) continue;
            const auto color = whole ? ChannelListColor(value, usedAs->Role.Reading) : OneChannelColor(graph, value, *usedAs);
            if (!color) continue;
            TColorRecord record;
            record.OrgText = record.Text = std::string(value);
            record.Color = record.OrgColor = *color;
            record.SourcePos = list.Pos;
            record.Channels = usedAs->Role;
            added.push_back(std::move(record));
        }
        // Numbers added to a channel in calc() change as a delta variable would.
        for (const TChannelUse& use : file.Channels.Uses)
            for (std::int8_t k = 0; k < 3; ++k) {
                const TUsedAs usedAs{{use.Reading, k, true}, &use, false};
                if (use.LiteralLength[size_t(k)] == 0 || !MirroredByInvert(usedAs.Role)) continue;
                const auto color = OneChannelColor(graph, {}, usedAs);
                if (!color) continue;
                TColorRecord record;
                record.OrgText = record.Text = file.Text.substr(use.LiteralPos[size_t(k)], use.LiteralLength[size_t(k)]);
                record.Color = record.OrgColor = *color;
                record.SourcePos = use.LiteralPos[size_t(k)];
                record.Channels = usedAs.Role;
                added.push_back(std::move(record));
            }
        file.Channels = {};
        if (added.empty()) continue;
        std::stable_sort(added.begin(), added.end(),
                         [](const TColorRecord& a, const TColorRecord& b) { return a.SourcePos < b.SourcePos; });
        MergeRecords(file, added);
        RewriteText(file);
    }
}

} // namespace pictor
