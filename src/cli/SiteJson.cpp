#include "cli/SiteJson.h"

#include "cli/DocumentJson.h"
#include "document/ColorLiterals.h"
#include "site/SiteSummary.h"

namespace pictor::cli {

namespace {

void WriteFailed(TJsonWriter& json, const TSiteDocument& site)
{
    json.BeginArray();
    for (const TSitePage& page : site.Pages())
        if (!page.Loaded()) json.Value({{"error", page.ErrorText()}, {"page", page.Path}});
    json.EndArray();
}

void WritePalette(TJsonWriter& json, const TSiteDocument& site)
{
    json.BeginArray();
    for (const TPaletteColor& color : SitePalette(site))
        json.Value({{"count", color.Count}, {"files", color.Files}, {"value", ColorToUpperCode(color.Value)}});
    json.EndArray();
}

void WritePictures(TJsonWriter& json, const TSiteDocument& site)
{
    json.BeginArray();
    for (const TSitePicture& entry : SitePictures(site)) {
        const TPicRecord& p = *entry.Picture;
        nlohmann::json picture = {
            {"height", p.Bitmap.Height()}, {"pages", entry.Pages}, {"path", p.FullPath}, {"width", p.Bitmap.Width()}};
        if (p.State == TPicState::Missing) picture["missing"] = true;
        if (p.State == TPicState::Unreadable) picture["unreadable"] = true;
        json.Value(picture);
    }
    json.EndArray();
}

} // namespace

void PrintSiteJson(std::ostream& out, const TSiteDocument& site)
{
    {
        // The pages one by one, each written as it goes: a site of a thousand pages is never one tree.
        TJsonWriter json(out);
        json.BeginObject();
        json.Key("failed");
        WriteFailed(json, site);
        json.Key("pages");
        json.BeginArray();
        for (const TSitePage& page : site.Pages())
            if (page.Loaded()) WriteDocumentJson(json, *page.Document);
        json.EndArray();
        json.Key("palette");
        WritePalette(json, site);
        json.Key("pictures");
        WritePictures(json, site);
        json.EndObject();
    }
    out << "\n";
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
