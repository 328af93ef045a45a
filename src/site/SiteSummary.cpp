#include "site/SiteSummary.h"

#include "document/Paths.h"
#include "site/SiteDocument.h"

#include <algorithm>
#include <unordered_map>

namespace pictor {

std::vector<TPaletteColor> SitePalette(const IFileSet& files)
{
    std::vector<TPaletteColor> palette;
    std::unordered_map<TColor, size_t> at;
    for (int i = 0; i < files.FileCount(); ++i)
        for (const TColorRecord& record : files.Elements(i).Colors) {
            if (record.Ignored) continue;
            const TColor value = record.Color & 0xFFFFFF;
            const auto [found, added] = at.emplace(value, palette.size());
            if (added) palette.push_back({value, 0, {}});
            TPaletteColor& color = palette[found->second];
            ++color.Count;
            if (color.Files.empty() || color.Files.back() != files.FilePath(i))
                color.Files.push_back(files.FilePath(i));
        }
    // Ties in the order of their codes, #RRGGBB.
    const auto code = [](TColor c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); };
    std::sort(palette.begin(), palette.end(), [&](const TPaletteColor& a, const TPaletteColor& b) {
        return a.Count != b.Count ? a.Count > b.Count : code(a.Value) < code(b.Value);
    });
    return palette;
}

std::vector<TSitePicture> SitePictures(const TSiteDocument& site)
{
    std::vector<TSitePicture> pictures;
    std::unordered_map<std::string, size_t> at; // by FileIdentity
    std::unordered_map<const TPicRecord*, std::string> identities;
    for (const TSitePage& page : site.Pages()) {
        if (!page.Loaded()) continue;
        ForEachPicture(*page.Document, [&](const TPicRecord& pic) {
            auto known = identities.find(&pic);
            if (known == identities.end()) known = identities.emplace(&pic, FileIdentity(pic.FullPath)).first;
            const auto [found, added] = at.emplace(known->second, pictures.size());
            if (added) pictures.push_back({&pic, {}});
            std::vector<std::string>& pages = pictures[found->second].Pages;
            if (pages.empty() || pages.back() != page.Path) pages.push_back(page.Path);
        });
    }
    return pictures;
}

} // namespace pictor
