// Tools → "オプション(&O)..." and the hidden "置換設定(&R)".
#include "app/MainWindow.h"
#include "app/FocusBack.h"
#include "app/OptionDialog.h"
#include "app/model/ProgramPaths.h"
#include "replace/ui/ReplaceSettingDialog.h"

void TfrmMain::mnuOptionClick()
{
    const TFocusBack back(*this);
    pictor::TfrmOption dialog(Options_, this);
    if (dialog.exec() == QDialog::Accepted) ApplyOptions();
}

void TfrmMain::mnuReplaceSettingClick()
{
    // The preview is not rewritten: the table applies to what is saved next.
    const TFocusBack back(*this);
    pictor::TfrmReplaceSetting dialog(pictor::ReplaceTableOf(Options_), Options_.UseReplacer, pictor::ProgramFolder(), this);
    if (dialog.exec() == QDialog::Accepted) pictor::StoreReplaceTable(Options_, dialog.Table(), dialog.UseReplacer());
}
