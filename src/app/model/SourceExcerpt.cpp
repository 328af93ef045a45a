#include "app/model/SourceExcerpt.h"

#include "document/HtmlStructure.h"
#include "encoding/Cp932.h"

#include <algorithm>

namespace pictor {

TSourceExcerpt MakeSourceExcerpt(std::string_view newText, const TColorRecord& record, int hintViewBytes)
{
    const size_t half = size_t(std::max(hintViewBytes, 0) / 2);
    const size_t start = std::min(size_t(std::max(record.Pos, 1) - 1), newText.size());
    const size_t colorEnd = std::min(start + record.Text.size(), newText.size());
    const size_t beforeStart = start > half ? start - half : 0;
    TSourceExcerpt excerpt;
    excerpt.Before = newText.substr(beforeStart, start - beforeStart);
    excerpt.Color = newText.substr(start, colorEnd - start);
    excerpt.After = newText.substr(colorEnd, half);
    return excerpt;
}

std::string DisplayText(std::string_view text, bool fileIsUtf8)
{
    return fileIsUtf8 ? std::string(text) : cp932::ToUtf8(text);
}

} // namespace pictor
