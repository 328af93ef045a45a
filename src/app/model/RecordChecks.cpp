#include "app/model/RecordChecks.h"

#include "document/HtmlStructure.h"

namespace pictor {

void SetColorChecked(THtmlStructure& doc, int tab, int row, bool checked, bool sameColour)
{
    TColorRecord& record = doc.Elements(tab).Colors.at(size_t(row));
    record.Checked = checked && record.Tickable();
    if (sameColour) SetCheckedByColor(doc, record.Color, checked);
}

void SetCheckedByColor(THtmlStructure& doc, TColor color, bool checked)
{
    ForEachColor(doc, [&](TColorRecord& c) {
        if (c.Color == color) c.Checked = checked && c.Tickable();
    });
}

std::optional<TRecordAt> FirstRecordOf(const THtmlStructure& doc, TColor color)
{
    for (int tab = 0; tab < doc.FileCount(); ++tab) {
        const auto& colors = doc.Elements(tab).Colors;
        for (std::size_t row = 0; row < colors.size(); ++row)
            if (colors[row].Color == color && colors[row].Tickable()) return TRecordAt{tab, row};
    }
    return std::nullopt;
}

void SetPicChecked(THtmlStructure& doc, int tab, int row, bool checked)
{
    TPicRecord& record = doc.Elements(tab).Pics.at(size_t(row));
    record.Checked = checked && record.Tickable();
}

void CheckAll(THtmlStructure& doc)
{
    ForEachColor(doc, [](TColorRecord& c) { c.Checked = c.Tickable(); });
    ForEachPicture(doc, [](TPicRecord& p) { p.Checked = p.Tickable(); });
}

void InvertChecks(THtmlStructure& doc)
{
    ForEachColor(doc, [](TColorRecord& c) { c.Checked = !c.Checked && c.Tickable(); });
    ForEachPicture(doc, [](TPicRecord& p) { p.Checked = !p.Checked && p.Tickable(); });
}

} // namespace pictor
