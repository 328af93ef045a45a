#include "document/ChannelVariables.h"

#include "document/DocumentText.h"
#include "document/FileSet.h"
#include "document/HtmlStructure.h"

#include <algorithm>
#include <unordered_map>

namespace pictor {

namespace {

// The one reading every use of each name agrees on; None where they differ.
std::unordered_map<std::string, TChannelReading> ReadingsOfUses(const IFileSet& files)
{
    std::unordered_map<std::string, TChannelReading> readings;
    for (int f = 0; f < files.FileCount(); ++f)
        for (const TChannelUse& use : files.Elements(f).Channels.Uses) {
            const auto [at, added] = readings.emplace(use.Name, use.Reading);
            if (!added && at->second != use.Reading) at->second = TChannelReading::None;
        }
    return readings;
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
    const auto readings = ReadingsOfUses(files);
    for (int f = 0; f < files.FileCount(); ++f) {
        TElements& file = files.Elements(f);
        std::vector<TColorRecord> added;
        for (const TChannelList& list : file.Channels.Lists) {
            const auto reading = readings.find(list.Name);
            if (reading == readings.end()) continue;
            const std::string_view value = std::string_view(file.Text).substr(list.Pos, list.Length);
            const auto color = ChannelListColor(value, reading->second);
            if (!color) continue;
            TColorRecord record;
            record.OrgText = record.Text = std::string(value);
            record.Color = record.OrgColor = *color;
            record.SourcePos = list.Pos;
            record.Channels = reading->second;
            added.push_back(std::move(record));
        }
        file.Channels = {};
        if (added.empty()) continue;
        MergeRecords(file, added);
        RewriteText(file);
    }
}

} // namespace pictor
