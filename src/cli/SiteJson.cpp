#include "cli/SiteJson.h"

#include "cli/DocumentJson.h"
#include "document/ColorLiterals.h"
#include "site/SiteSummary.h"

namespace pictor::cli {

namespace {

std::string Dump(const nlohmann::json& json)
{
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Dumped JSON nested in the site's object: every line after the first indented by depth levels.
void PrintNested(std::ostream& out, const std::string& dumped, int depth)
{
    const std::string indent(size_t(depth) * 2, ' ');
    size_t from = 0;
    for (size_t end; (end = dumped.find('\n', from)) != std::string::npos; from = end + 1)
        out.write(dumped.data() + from, std::streamsize(end + 1 - from)) << indent;
    out.write(dumped.data() + from, std::streamsize(dumped.size() - from));
}

nlohmann::json PaletteJson(const TSiteDocument& site)
{
    nlohmann::json palette = nlohmann::json::array();
    for (const TPaletteColor& color : SitePalette(site))
        palette.push_back({{"value", ColorToUpperCode(color.Value)}, {"count", color.Count}, {"files", color.Files}});
    return palette;
}

nlohmann::json PicturesJson(const TSiteDocument& site)
{
    nlohmann::json pictures = nlohmann::json::array();
    for (const TSitePicture& picture : SitePictures(site)) {
        const TPicRecord& p = *picture.Picture;
        pictures.push_back({{"path", p.FullPath},
                            {"width", p.Bitmap.Width()},
                            {"height", p.Bitmap.Height()},
                            {"pages", picture.Pages}});
        if (p.State == TPicState::Missing) pictures.back()["missing"] = true;
        if (p.State == TPicState::Unreadable) pictures.back()["unreadable"] = true;
    }
    return pictures;
}

nlohmann::json FailedJson(const TSiteDocument& site)
{
    nlohmann::json failed = nlohmann::json::array();
    for (const TSitePage& page : site.Pages())
        if (!page.Loaded()) failed.push_back({{"page", page.Path}, {"error", page.ErrorText()}});
    return failed;
}

} // namespace

void PrintSiteJson(std::ostream& out, const TSiteDocument& site)
{
    // Page by page: a site of a thousand pages is never one tree in memory.
    out << "{\n  \"pages\": [";
    bool first = true;
    for (const TSitePage& page : site.Pages()) {
        if (!page.Loaded()) continue;
        out << (first ? "\n    " : ",\n    ");
        first = false;
        PrintNested(out, Dump(DocumentToJson(*page.Document)), 2);
    }
    out << (first ? "]" : "\n  ]");
    for (const auto& [name, json] : {std::pair{"failed", FailedJson(site)}, std::pair{"palette", PaletteJson(site)},
                                     std::pair{"pictures", PicturesJson(site)}}) {
        out << ",\n  \"" << name << "\": ";
        PrintNested(out, Dump(json), 1);
    }
    out << "\n}\n";
}

void PrintSiteText(std::ostream& out, const TSiteDocument& site)
{
    const std::vector<TPaletteColor> palette = SitePalette(site);
    out << "palette: " << palette.size() << " colour(s)\n";
    for (const TPaletteColor& color : palette)
        out << "  " << ColorToUpperCode(color.Value) << "  " << color.Count << " in " << color.Files.size()
            << " file(s)\n";
    const std::vector<TSitePicture> pictures = SitePictures(site);
    out << "pictures: " << pictures.size() << "\n";
    for (const TSitePicture& picture : pictures)
        out << "  " << picture.Picture->FullPath << "  on " << picture.Pages.size() << " page(s)\n";
    for (const TSitePage& page : site.Pages())
        if (page.Loaded()) out << "\npage " << page.Path << "\n" << DocumentToText(*page.Document);
    out << "\n" << site.Pages().size() << " page(s), " << site.FailedCount() << " failed\n";
}

} // namespace pictor::cli
