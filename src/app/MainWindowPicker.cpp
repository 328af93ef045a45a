// The new colour for the picked colour's ticked occurrences, and for one double-clicked occurrence.
#include "adjust/Adjustment.h"
#include "app/DocumentView.h"
#include "app/MainWindow.h"
#include "app/OpenDocument.h"
#include "app/SiteLists.h"
#include "colordialog/ui/ColorPickerPanel.h"
#include "colordialog/ui/ColorSelectDialog.h"
#include "document/HtmlStructure.h"
#include "app/model/Options.h"

void TfrmMain::CommitNewColor(const std::function<void()>& recolour)
{
    ApplyChange([&](const pictor::TPictureProgress&) { recolour(); });
}

void TfrmMain::mnuSetNewColorClick(pictor::TColor picked)
{
    if (!Open_->IsReadable()) return;
    ColorDialog->SetColor(picked);
    try {
        if (ColorDialog->Execute(this)) {
            const auto newColor = pictor::TAdjustment::NewColorOf(ColorDialog->Color());
            CommitNewColor([&] {
                pictor::ForEachColor(Open_->Edited(), [&](pictor::TColorRecord& record) {
                    if (record.Checked && record.Color == picked)
                        pictor::AdjustColorValue(newColor, record, Options_.SaveWithLowerCase);
                });
            });
        }
    } catch (const std::exception& error) {
        ShowError(error);
    }
    pnlColorPicker->BlankMagnifier();
    Options_.UseWebSafeColor = ColorDialog->UseWebSafeColor();
}

void TfrmMain::clbColorListDblClick()
{
    if (!Open_->IsReadable()) return;
    const int row = View_->ColorRowAtPointer();
    if (View_->ShowsSite()) {
        // Every ticked occurrence of the value takes the new colour, as from the picker.
        if (const auto value = View_->SiteLists().TickedColor(row)) mnuSetNewColorClick(*value);
        return;
    }
    auto& colors = Open_->Shown().Elements(View_->ShownTab()).Colors;
    if (row < 0 || size_t(row) >= colors.size() || !colors[size_t(row)].Checked) return;
    pictor::TColorRecord& record = colors[size_t(row)];
    ColorDialog->SetColor(record.Color);
    if (!ColorDialog->Execute(this)) return;
    try {
        const auto newColor = pictor::TAdjustment::NewColorOf(ColorDialog->Color());
        CommitNewColor([&] { pictor::AdjustColorValue(newColor, record, Options_.SaveWithLowerCase); });
        Options_.UseWebSafeColor = ColorDialog->UseWebSafeColor();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}
