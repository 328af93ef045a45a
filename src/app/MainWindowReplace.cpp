// Tools → "置換設定(&R)" (hidden).
#include "app/MainWindow.h"
#include "replace/ui/ReplaceSettingDialog.h"

void TfrmMain::mnuReplaceSettingClick()
{
    pictor::TfrmReplaceSetting::Execute(this);
}
