#include "app/model/RecordChecks.h"

#include "document/HtmlStructure.h"

namespace pictor {
namespace {

template <typename ColorFn, typename PicFn>
void ForEachRecord(THtmlStructure& doc, ColorFn colorFn, PicFn picFn)
{
    for (int tab = 0; tab < doc.FileCount(); ++tab) {
        TElements& file = doc.Elements(tab);
        for (TColorRecord& c : file.Colors) colorFn(c);
        for (TPicRecord& p : file.Pics) picFn(p);
    }
}

} // namespace

void SetColorChecked(THtmlStructure& doc, int tab, int row, bool checked, bool sameColour)
{
    TColorRecord& record = doc.Elements(tab).Colors.at(size_t(row));
    record.Checked = checked && record.Tickable();
    if (sameColour) SetCheckedByColor(doc, record.Color, checked);
}

void SetCheckedByColor(THtmlStructure& doc, TColor color, bool checked)
{
    ForEachRecord(
        doc, [&](TColorRecord& c) { if (c.Color == color) c.Checked = checked && c.Tickable(); }, [](TPicRecord&) {});
}

void SetPicChecked(THtmlStructure& doc, int tab, int row, bool checked)
{
    TPicRecord& record = doc.Elements(tab).Pics.at(size_t(row));
    record.Checked = checked && record.Tickable();
}

void CheckAll(THtmlStructure& doc)
{
    ForEachRecord(doc, [](TColorRecord& c) { c.Checked = c.Tickable(); }, [](TPicRecord& p) { p.Checked = p.Tickable(); });
}

void InvertChecks(THtmlStructure& doc)
{
    ForEachRecord(doc, [](TColorRecord& c) { c.Checked = !c.Checked && c.Tickable(); },
                   [](TPicRecord& p) { p.Checked = !p.Checked && p.Tickable(); });
}

} // namespace pictor
