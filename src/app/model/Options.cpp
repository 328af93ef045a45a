#include "app/model/Options.h"

#include <algorithm>

namespace pictor {

TDocumentOptions DocumentOptionsOf(const TOptions& options, TWorkPool& pool)
{
    return {options.SaveWithLowerCase, options.JpegCompressionQuality, options.UseReplacer, options.ReplaceKeys,
            options.ReplaceValues, &pool};
}

TPictureSaveOptions PictureSaveOptionsOf(const TOptions& options, TWorkPool& pool)
{
    return {options.JpegCompressionQuality, options.JpegSamplingRate != 0, options.JpegToBmp, options.GifToBmp, &pool};
}

TSnapshotLimit SnapshotLimitOf(const TOptions& options)
{
    return {options.LimitMaxResolution, options.PreviewMaxWidth, options.PreviewMaxHeight};
}

TReplaceTable ReplaceTableOf(const TOptions& o)
{
    TReplaceTable table;
    for (size_t i = 0; i < std::min(o.ReplaceKeys.size(), o.ReplaceValues.size()); ++i)
        table.push_back({o.ReplaceKeys[i], o.ReplaceValues[i]});
    return table;
}

void StoreReplaceTable(TOptions& o, const TReplaceTable& table, bool useReplacer)
{
    o.UseReplacer = useReplacer;
    o.ReplaceKeys.clear();
    o.ReplaceValues.clear();
    for (const TReplaceItem& item : table) {
        o.ReplaceKeys.push_back(item.Key);
        o.ReplaceValues.push_back(item.Value);
    }
}

} // namespace pictor
