#include "app/model/RecordChecks.h"

#include "document/FileSet.h"

namespace pictor {

void SetColorChecked(IFileSet& doc, int tab, int row, bool checked, bool sameColour)
{
    TColorRecord& record = doc.Elements(tab).Colors.at(size_t(row));
    record.Checked = checked && record.Tickable();
    if (sameColour) SetCheckedByColor(doc, record.Color, checked);
}

void SetCheckedByColor(IFileSet& doc, TColor color, bool checked)
{
    ForEachColor(doc, [&](TColorRecord& c) {
        if (c.Color == color) c.Checked = checked && c.Tickable();
    });
}

std::optional<TRecordAt> FirstRecordOf(const IFileSet& doc, TColor color)
{
    for (int tab = 0; tab < doc.FileCount(); ++tab) {
        const auto& colors = doc.Elements(tab).Colors;
        for (std::size_t row = 0; row < colors.size(); ++row)
            if (colors[row].Color == color && colors[row].Tickable()) return TRecordAt{tab, row};
    }
    return std::nullopt;
}

void SetPicChecked(IFileSet& doc, int tab, int row, bool checked)
{
    TPicRecord& record = doc.Elements(tab).Pics.at(size_t(row));
    record.Checked = checked && record.Tickable();
}

void SetPictureFileChecked(IFileSet& doc, const std::string& path, bool checked)
{
    // References resolve to one full path, however each file names the picture.
    ForEachPicture(doc, [&](TPicRecord& pic) {
        if (pic.FullPath == path) pic.Checked = checked && pic.Tickable();
    });
}

std::unordered_map<TColor, bool> CheckedColors(const IFileSet& doc)
{
    std::unordered_map<TColor, bool> checked;
    ForEachColor(doc, [&](const TColorRecord& c) { checked[c.Color] |= c.Checked; });
    return checked;
}

std::unordered_map<std::string, bool> CheckedPictureFiles(const IFileSet& doc)
{
    std::unordered_map<std::string, bool> checked;
    ForEachPicture(doc, [&](const TPicRecord& pic) { checked[pic.FullPath] |= pic.Checked; });
    return checked;
}

void CheckAll(IFileSet& doc)
{
    ForEachColor(doc, [](TColorRecord& c) { c.Checked = c.Tickable(); });
    ForEachPicture(doc, [](TPicRecord& p) { p.Checked = p.Tickable(); });
}

void InvertChecks(IFileSet& doc)
{
    ForEachColor(doc, [](TColorRecord& c) { c.Checked = !c.Checked && c.Tickable(); });
    ForEachPicture(doc, [](TPicRecord& p) { p.Checked = !p.Checked && p.Tickable(); });
}

} // namespace pictor
