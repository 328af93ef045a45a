#include "cli/SiteJson.h"

#include "cli/DocumentJson.h"
#include "cli/JsonWriter.h"
#include "document/ColorLiterals.h"
#include "site/SiteSummary.h"

namespace pictor::cli {

namespace {

void WriteStrings(TJsonWriter& json, const std::vector<std::string>& strings)
{
    json.BeginArray();
    for (const std::string& s : strings) json.String(s);
    json.EndArray();
}

void WriteFailed(TJsonWriter& json, const TSiteDocument& site)
{
    json.BeginArray();
    for (const TSitePage& page : site.Pages())
        if (!page.Loaded()) {
            json.BeginObject();
            json.Member("error", page.ErrorText());
            json.Member("page", page.Path);
            json.EndObject();
        }
    json.EndArray();
}

void WritePalette(TJsonWriter& json, const TSiteDocument& site)
{
    json.BeginArray();
    for (const TPaletteColor& color : SitePalette(site)) {
        json.BeginObject();
        json.Member("count", color.Count);
        json.Key("files");
        WriteStrings(json, color.Files);
        json.Member("value", ColorToUpperCode(color.Value));
        json.EndObject();
    }
    json.EndArray();
}

void WritePictures(TJsonWriter& json, const TSiteDocument& site)
{
    json.BeginArray();
    for (const TSitePicture& picture : SitePictures(site)) {
        const TPicRecord& p = *picture.Picture;
        json.BeginObject();
        json.Member("height", p.Bitmap.Height());
        if (p.State == TPicState::Missing) json.Member("missing", true);
        json.Key("pages");
        WriteStrings(json, picture.Pages);
        json.Member("path", p.FullPath);
        if (p.State == TPicState::Unreadable) json.Member("unreadable", true);
        json.Member("width", p.Bitmap.Width());
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

void PrintSiteJson(std::ostream& out, const TSiteDocument& site)
{
    // The pages one by one, each written as it goes: a site of a thousand pages is never one tree.
    const auto member = [&](const char* key, auto write) {
        out << "\n  \"" << key << "\": ";
        TJsonWriter json(out, 1);
        write(json);
    };
    out << "{";
    member("failed", [&](TJsonWriter& json) { WriteFailed(json, site); });
    out << ",\n  \"pages\": [";
    bool first = true;
    for (const TSitePage& page : site.Pages())
        if (page.Loaded()) {
            out << (first ? "\n    " : ",\n    ");
            first = false;
            WriteDocumentJson(out, *page.Document, 2);
        }
    out << (first ? "]," : "\n  ],");
    member("palette", [&](TJsonWriter& json) { WritePalette(json, site); });
    out << ",";
    member("pictures", [&](TJsonWriter& json) { WritePictures(json, site); });
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
