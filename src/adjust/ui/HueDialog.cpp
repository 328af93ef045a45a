#include "adjust/ui/HueDialog.h"

namespace {

const TAdjustDialogForm HueForm{
    pictor::akHueSat, "色相・彩度", 474, 193, false, ".cch", "色相・彩度設定ファイル(*.cch)"};

} // namespace

TfrmHue::TfrmHue(QWidget* owner, IPageSnapshotSource& source, TProgressHooks progress, const TAdjustDialogSettings& settings)
    : TAdjustDialog(HueForm, owner, source, std::move(progress), settings)
{
}
