#include "adjust/ui/ColorBalanceDialog.h"

namespace {

const TAdjustDialogForm ColorBalanceForm{
    pictor::akColorBalance, "カラーバランス", 474, 193,
    true, ".ccb", "カラーバランス設定ファイル(*.ccb)"};

} // namespace

TfrmCV::TfrmCV(QWidget* owner, IPageSnapshotSource& source, TProgressHooks progress, const TAdjustDialogSettings& settings)
    : TAdjustDialog(ColorBalanceForm, owner, source, std::move(progress), settings)
{
}
