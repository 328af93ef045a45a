#include "adjust/ui/BrightDialog.h"

namespace {

const TAdjustDialogForm BrightForm{
    pictor::akBrightContrast, "明るさ・コントラスト", 433, 153,
    false, ".ccb", "明るさ・コントラスト設定ファイル(*.ccb)"};

} // namespace

TfrmBright::TfrmBright(QWidget* owner, IPageSnapshotSource& source, TProgressHooks progress, const TAdjustDialogSettings& settings)
    : TAdjustDialog(BrightForm, owner, source, std::move(progress), settings)
{
}
