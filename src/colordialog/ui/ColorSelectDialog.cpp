#include "colordialog/ui/ColorSelectDialog.h"

#include "colordialog/ui/ColorSelectForm.h"

namespace pictor {

TColorSelectDialog::TColorSelectDialog(QObject* parent) : QObject(parent) {}

void TColorSelectDialog::SetCustomColors(int index, TColor color)
{
    if (index >= 0 && index < PaletteCellCount) CustomColors_[index] = color;
}

bool TColorSelectDialog::Execute(QWidget* parent)
{
    TfrmColorSelectDlg form(CustomColors_, Color_, UseWebSafeColor_, parent);
    if (form.exec() != QDialog::Accepted) return false;
    const TColorSelectModel& model = form.Model();
    CustomColors_ = model.Cells();
    Color_ = model.CurrentColor();
    UseWebSafeColor_ = model.WebSafe();
    return true;
}

} // namespace pictor
